// The test double of the device: it answers every operation like Direct3D 9 (results, state
// read back through Get*, reference counts, resource descriptions and memory) without drawing,
// and records each call as one readable line, in order:
//
//   SetRenderState(D3DRS_ZWRITEENABLE, 0)
//   SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP)
//   Clear(0, null, 0x3, 0x80000000, 1, 0)
//   SetTexture(0, tex#3)
//   DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, stride 20)
//   CreateTexture(64, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT) -> tex#1
//   tex#1.LockRect(0, null, 0)
//   SetViewport(0, 0, 9999, 10, 0, 1) -> D3DERR_INVALIDCALL
//
// Objects are named by kind and creation order (tex#N, surf#N, depth#N, vb#N, ib#N, decl#N,
// prog#N; a texture level is tex#N[L]; the implicit surfaces are backbuffer and autodepth).
// A failing call ends with " -> " and its result. Lines sent through IDirect3DCallSink9 (the
// effect framework's) join the same log.
//
// Lifetime: construct with new (reference count 1) and Release when done; objects made by the
// device hold a reference on it while the caller holds them, as in Direct3D, so a test that
// wants to inspect the device after the code under test released it keeps a reference of its
// own. liveObjectCount() then tells which objects the code failed to release.
//
// Clear and ColorFill write the clear colour into the surfaces' memory; draws do not rasterise.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/recording/Binding.h"
#include "platform/d3d9/recording/CallLog.h"
#include "platform/d3d9/recording/FailurePlan.h"
#include "platform/d3d9/recording/StateShadow.h"

class RecordingObject;
class RecordingSurface;
class RecordingTexture;
class RecordingProgram;
class RecordingVertexBuffer;
class RecordingIndexBuffer;
class RecordingVertexDeclaration;

// The vertices of the last successful DrawPrimitiveUP, copied at the call.
struct RecordedDrawUP {
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    UINT primitiveCount = 0;
    UINT stride = 0;
    UINT vertexCount = 0;
    std::vector<BYTE> data;

    // The float at a byte offset inside a vertex (offset 12 is u with D3DFVF_XYZ|D3DFVF_TEX1).
    float floatAt(UINT vertex, UINT byteOffset) const;
};

struct StreamSource {
    IDirect3DVertexBuffer9* buffer = nullptr;
    UINT offset = 0;
    UINT stride = 0;
};

class RecordingDevice final : public IDirect3DDevice9, public IDirect3DCallSink9 {
public:
    static constexpr UINT kStreams = 16;
    // The largest render target side it reports (GetDeviceCaps), that of a common GPU.
    static constexpr DWORD kMaxTextureSide = 16384;

    // 640 × 360 windowed X8R8G8B8 with an automatic D24S8 depth-stencil surface.
    static D3DPRESENT_PARAMETERS defaultPresentation();
    // Vertices of a primitive count: 3n for lists of triangles, n + 2 for strips and fans.
    static UINT vertexCount(D3DPRIMITIVETYPE type, UINT primitiveCount);

    explicit RecordingDevice(const D3DPRESENT_PARAMETERS& parameters = defaultPresentation());

    // ---- The log ----
    std::vector<std::string> calls() const;
    void clearCalls();
    std::size_t countCalls(std::string_view operation) const;
    std::vector<std::string> callsStartingWith(std::string_view prefix) const;
    // Get* and other read-only calls are logged too unless turned off here.
    void setRecordQueries(bool record);

    // ---- Failures ----
    // Every call of the operation ("SetViewport", "LockRect", "Present") fails with result, or
    // with nth > 0 only the nth call counted from now. A failing call changes nothing.
    void failCall(std::string operation, HRESULT result, unsigned nth = 0);
    void clearFailures();

    // ---- Programs ----
    // GetUniformLocation answers -1 for this name in every program, as for a uniform the GLSL
    // compiler removed.
    void markOptimisedOut(std::string uniform);
    // The values last set for a uniform by name, in whichever program.
    std::optional<std::vector<float>> programConstantF(const std::string& uniform) const;
    std::optional<std::vector<INT>> programConstantI(const std::string& uniform) const;

    // ---- State, read without logging or reference counting ----
    DWORD renderState(D3DRENDERSTATETYPE state) const;
    DWORD samplerState(DWORD sampler, D3DSAMPLERSTATETYPE type) const;
    DWORD textureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const;
    D3DMATRIX transform(D3DTRANSFORMSTATETYPE state) const;
    // Every matrix given to SetTransform, in order.
    const std::vector<std::pair<D3DTRANSFORMSTATETYPE, D3DMATRIX>>& transformsSet() const {
        return transformsSet_;
    }
    D3DVIEWPORT9 viewport() const;
    const std::vector<D3DVIEWPORT9>& viewportsSet() const { return viewportsSet_; }
    IDirect3DBaseTexture9* textureAt(DWORD sampler) const;
    IDirect3DSurface9* renderTargetAt(DWORD index) const;
    IDirect3DSurface9* depthStencil() const;
    IDirect3DProgram9* currentProgram() const;
    IDirect3DVertexDeclaration9* currentDeclaration() const;
    // 0 while a declaration is current.
    DWORD currentFVF() const;
    StreamSource streamSource(UINT stream) const;
    IDirect3DIndexBuffer9* indices() const;
    bool inScene() const;
    const std::optional<RecordedDrawUP>& lastDrawUP() const { return lastDrawUP_; }
    RecordingSurface& backBuffer() const { return *backBuffer_; }
    RecordingSurface* autoDepthStencil() const { return autoDepth_; }
    const D3DPRESENT_PARAMETERS& presentation() const { return presentation_; }

    // ---- Objects ----
    std::string nameOf(const IUnknown* object) const;
    // Objects made by this device that the caller still holds references on.
    std::size_t liveObjectCount() const;
    std::vector<std::string> liveObjectNames() const;
    // Releases of objects that had no reference left; each is also logged.
    std::size_t overReleaseCount() const;
    ULONG refCount() const;

    // ---- IUnknown ----
    ULONG AddRef() override;
    ULONG Release() override;

    // ---- IDirect3DDevice9 ----
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                    const void* dirtyRegion) override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
    // Answers kMaxTextureSide for both sides.
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

    // ---- IDirect3DCallSink9 ----
    void RecordCall(const char* text) override;

    // ---- For the device's own objects ----
    std::unique_lock<std::recursive_mutex> lock() const;
    HRESULT planned(std::string_view operation);
    // Logs the call (with " -> result" when it failed) and answers its result.
    HRESULT record(std::string operation, std::string text, HRESULT result, bool query = false);
    void noteOverRelease(const std::string& name);
    void destroyObject(RecordingObject* object);
    bool isOptimisedOut(const std::string& uniform) const;
    // A new location, unique on this device, remembered with its program for the log.
    INT newUniformLocation(const std::string& program, const std::string& uniform);

protected:
    ~RecordingDevice() override;

private:
    template <class Object, class... Args>
    Object* make(const char* kind, Args&&... args);
    template <class Interface>
    Interface* handOut(Interface* object);
    // The device's own object behind an interface pointer; null for null or foreign pointers.
    RecordingObject* ours(const IUnknown* object) const;
    RecordingSurface* ourSurface(IDirect3DSurface9* surface) const;
    RecordingTexture* ourTexture(IDirect3DBaseTexture9* texture) const;
    template <class Value>
    HRESULT storeProgramConstant(const char* operation, INT location, const Value* data,
                                 D3DPROGRAMCONSTANTSHAPE shape, UINT count);
    std::vector<RECT> clearRegions(DWORD count, const D3DRECT* rects) const;
    HRESULT validateIndexedDraw(UINT startIndex, UINT indexCount) const;

    mutable std::recursive_mutex mutex_;
    ULONG refs_ = 1;
    bool recordQueries_ = true;
    CallLog log_;
    FailurePlan failures_;
    std::size_t overReleases_ = 0;

    D3DPRESENT_PARAMETERS presentation_;
    std::vector<std::unique_ptr<RecordingObject>> objects_;
    std::map<std::string, unsigned> nextSerial_;
    RecordingSurface* backBuffer_ = nullptr;
    RecordingSurface* autoDepth_ = nullptr;

    StateShadow state_;
    D3DVIEWPORT9 viewport_{};
    std::vector<D3DVIEWPORT9> viewportsSet_;
    std::vector<std::pair<D3DTRANSFORMSTATETYPE, D3DMATRIX>> transformsSet_;
    std::map<DWORD, Binding<IDirect3DBaseTexture9>> textures_;
    std::array<Binding<IDirect3DSurface9>, D3D_MAX_SIMULTANEOUS_RENDERTARGETS> renderTargets_;
    Binding<IDirect3DSurface9> depthStencil_;
    // The swap chain's own hold on the implicit surfaces, so unbinding them never frees them.
    Binding<IDirect3DSurface9> swapChainBackBuffer_;
    Binding<IDirect3DSurface9> swapChainDepth_;
    Binding<IDirect3DVertexDeclaration9> declaration_;
    DWORD fvf_ = 0;
    std::array<Binding<IDirect3DVertexBuffer9>, kStreams> streams_;
    std::array<UINT, kStreams> streamOffsets_{};
    std::array<UINT, kStreams> streamStrides_{};
    Binding<IDirect3DIndexBuffer9> indices_;
    Binding<IDirect3DProgram9> program_;
    bool inScene_ = false;
    std::optional<RecordedDrawUP> lastDrawUP_;

    std::vector<std::string> optimisedOut_;
    std::vector<std::string> locationOwners_;  // by location: prog#N "uniform"
    std::map<std::string, std::vector<float>> constantsF_;
    std::map<std::string, std::vector<INT>> constantsI_;
};
