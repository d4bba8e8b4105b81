// A device that forwards every call to another device and measures it: the time spent inside
// the call, and whether it created a resource or drew. Frame time minus the time inside device
// calls is the engine's own CPU time. Resources and results are the inner device's own, passed
// through unchanged.
//
// It takes over one reference to the inner device and releases it when its own count reaches 0.
#pragma once

#include <atomic>
#include <chrono>

#include "platform/d3d9/d3d9.h"
#include "tools/bench/show/DeviceCallStats.h"
#include "tools/bench/show/PassClock.h"

class TimingDevice : public IDirect3DDevice9 {
public:
    TimingDevice(IDirect3DDevice9* inner, DeviceCallStats& stats);

    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                    const void* dirtyRegion) override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT GetDeviceCaps(D3DCAPS9* caps) override;

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetTexture(DWORD sampler, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTexture(DWORD sampler, IDirect3DBaseTexture9** texture) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;

    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override;
    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** surface) override;
    HRESULT SetDepthStencilSurface(IDirect3DSurface9* surface) override;
    HRESULT GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                          IDirect3DSurface9** surface) override;
    HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget,
                                IDirect3DSurface9* destination) override;
    HRESULT ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) override;
    HRESULT UpdateTexture(IDirect3DBaseTexture9* source,
                          IDirect3DBaseTexture9* destination) override;

    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture9** texture, void** sharedHandle) override;
    HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                      D3DMULTISAMPLE_TYPE multiSample, DWORD multisampleQuality,
                                      BOOL discard, IDirect3DSurface9** surface,
                                      void** sharedHandle) override;
    HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DSurface9** surface, void** sharedHandle) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer9** buffer, void** sharedHandle) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer9** buffer, void** sharedHandle) override;
    HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                    IDirect3DVertexDeclaration9** declaration) override;

    HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                            UINT stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                            UINT stride) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                 UINT numVertices, UINT startIndex, UINT primitiveCount) override;

    HRESULT CreateProgram(const char* vertexSource, const char* fragmentSource,
                          IDirect3DProgram9** program) override;
    HRESULT SetProgram(IDirect3DProgram9* program) override;
    HRESULT GetProgram(IDirect3DProgram9** program) override;
    HRESULT SetProgramConstantF(INT location, const float* data, D3DPROGRAMCONSTANTSHAPE shape,
                                UINT count) override;
    HRESULT SetProgramConstantI(INT location, const INT* data, D3DPROGRAMCONSTANTSHAPE shape,
                                UINT count) override;

protected:
    ~TimingDevice() override = default;
    DeviceCallStats& stats() { return stats_; }

private:
    // A call whose GPU work the per-pass breakdown times on its own, under kind.
    template <typename Call>
    HRESULT passTimed(const char* kind, Call&& call) {
        PassClock* passes = stats_.passes.load();
        return passes != nullptr ? passes->time(kind, [&] { return timed(call); }) : timed(call);
    }
    // A creation, told on standard error while the stats ask for it.
    void tellCreation(const char* what, UINT width, UINT height) const;

    template <typename Call>
    HRESULT timed(Call&& call) {
        const auto start = std::chrono::steady_clock::now();
        const HRESULT result = call();
        stats_.insideNs += std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::steady_clock::now() - start)
                               .count();
        ++stats_.calls;
        return result;
    }
    template <typename Call>
    HRESULT created(Call&& call) {
        ++stats_.creations;
        return timed(call);
    }
    template <typename Call>
    HRESULT drawn(Call&& call) {
        ++stats_.draws;
        return passTimed("draw", call);
    }

    IDirect3DDevice9* inner_;
    DeviceCallStats& stats_;
    std::atomic<ULONG> references_{1};
};
