#include "tools/bench/show/TimingDevice.h"

#include <cstdio>

TimingDevice::TimingDevice(IDirect3DDevice9* inner, DeviceCallStats& stats)
    : inner_(inner), stats_(stats) {}

void TimingDevice::tellCreation(const char* what, UINT width, UINT height) const {
    if (stats_.tellCreations.load()) {
        std::fprintf(stderr, "bench: late creation: %s %ux%u\n", what, width, height);
    }
}

ULONG TimingDevice::AddRef() {
    return ++references_;
}

ULONG TimingDevice::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        inner_->Release();
        delete this;
    }
    return left;
}

HRESULT TimingDevice::BeginScene() {
    return timed([&] { return inner_->BeginScene(); });
}

HRESULT TimingDevice::EndScene() {
    return timed([&] { return inner_->EndScene(); });
}

HRESULT TimingDevice::Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                              const void* dirtyRegion) {
    return passTimed(
        "present", [&] { return inner_->Present(sourceRect, destRect, destWindow, dirtyRegion); });
}

HRESULT TimingDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                            DWORD stencil) {
    return passTimed("clear",
                     [&] { return inner_->Clear(count, rects, flags, color, z, stencil); });
}

HRESULT TimingDevice::SetViewport(const D3DVIEWPORT9* viewport) {
    return timed([&] { return inner_->SetViewport(viewport); });
}

HRESULT TimingDevice::GetViewport(D3DVIEWPORT9* viewport) {
    return timed([&] { return inner_->GetViewport(viewport); });
}

HRESULT TimingDevice::GetDeviceCaps(D3DCAPS9* caps) {
    return timed([&] { return inner_->GetDeviceCaps(caps); });
}

HRESULT TimingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    return timed([&] { return inner_->SetRenderState(state, value); });
}

HRESULT TimingDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    return timed([&] { return inner_->GetRenderState(state, value); });
}

HRESULT TimingDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    return timed([&] { return inner_->SetSamplerState(sampler, type, value); });
}

HRESULT TimingDevice::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    return timed([&] { return inner_->GetSamplerState(sampler, type, value); });
}

HRESULT TimingDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                           DWORD value) {
    return timed([&] { return inner_->SetTextureStageState(stage, type, value); });
}

HRESULT TimingDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                           DWORD* value) {
    return timed([&] { return inner_->GetTextureStageState(stage, type, value); });
}

HRESULT TimingDevice::SetTexture(DWORD sampler, IDirect3DBaseTexture9* texture) {
    return timed([&] { return inner_->SetTexture(sampler, texture); });
}

HRESULT TimingDevice::GetTexture(DWORD sampler, IDirect3DBaseTexture9** texture) {
    return timed([&] { return inner_->GetTexture(sampler, texture); });
}

HRESULT TimingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    return timed([&] { return inner_->SetTransform(state, matrix); });
}

HRESULT TimingDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    return timed([&] { return inner_->GetTransform(state, matrix); });
}

HRESULT TimingDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
    return timed([&] { return inner_->GetRenderTarget(index, surface); });
}

HRESULT TimingDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
    return timed([&] { return inner_->SetRenderTarget(index, surface); });
}

HRESULT TimingDevice::GetDepthStencilSurface(IDirect3DSurface9** surface) {
    return timed([&] { return inner_->GetDepthStencilSurface(surface); });
}

HRESULT TimingDevice::SetDepthStencilSurface(IDirect3DSurface9* surface) {
    return timed([&] { return inner_->SetDepthStencilSurface(surface); });
}

HRESULT TimingDevice::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                                    IDirect3DSurface9** surface) {
    return timed([&] { return inner_->GetBackBuffer(swapChain, index, type, surface); });
}

HRESULT TimingDevice::GetRenderTargetData(IDirect3DSurface9* renderTarget,
                                          IDirect3DSurface9* destination) {
    return passTimed("read-back",
                     [&] { return inner_->GetRenderTargetData(renderTarget, destination); });
}

HRESULT TimingDevice::ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) {
    return timed([&] { return inner_->ColorFill(surface, rect, color); });
}

HRESULT TimingDevice::UpdateTexture(IDirect3DBaseTexture9* source,
                                    IDirect3DBaseTexture9* destination) {
    return timed([&] { return inner_->UpdateTexture(source, destination); });
}

HRESULT TimingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                    D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                    void** sharedHandle) {
    tellCreation("texture", width, height);
    return created([&] {
        return inner_->CreateTexture(width, height, levels, usage, format, pool, texture,
                                     sharedHandle);
    });
}

HRESULT TimingDevice::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                                D3DMULTISAMPLE_TYPE multiSample,
                                                DWORD multisampleQuality, BOOL discard,
                                                IDirect3DSurface9** surface, void** sharedHandle) {
    tellCreation("depth-stencil surface", width, height);
    return created([&] {
        return inner_->CreateDepthStencilSurface(
            width, height, format, multiSample, multisampleQuality, discard, surface, sharedHandle);
    });
}

HRESULT TimingDevice::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                                  D3DPOOL pool, IDirect3DSurface9** surface,
                                                  void** sharedHandle) {
    tellCreation("plain surface", width, height);
    return created([&] {
        return inner_->CreateOffscreenPlainSurface(width, height, format, pool, surface,
                                                   sharedHandle);
    });
}

HRESULT TimingDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                         IDirect3DVertexBuffer9** buffer, void** sharedHandle) {
    tellCreation("vertex buffer", length, 1);
    return created(
        [&] { return inner_->CreateVertexBuffer(length, usage, fvf, pool, buffer, sharedHandle); });
}

HRESULT TimingDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DIndexBuffer9** buffer, void** sharedHandle) {
    tellCreation("index buffer", length, 1);
    return created([&] {
        return inner_->CreateIndexBuffer(length, usage, format, pool, buffer, sharedHandle);
    });
}

HRESULT TimingDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                              IDirect3DVertexDeclaration9** declaration) {
    tellCreation("vertex declaration", 0, 0);
    return created([&] { return inner_->CreateVertexDeclaration(elements, declaration); });
}

HRESULT TimingDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) {
    return timed([&] { return inner_->SetVertexDeclaration(declaration); });
}

HRESULT TimingDevice::SetFVF(DWORD fvf) {
    return timed([&] { return inner_->SetFVF(fvf); });
}

HRESULT TimingDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                      UINT stride) {
    return timed([&] { return inner_->SetStreamSource(stream, buffer, offset, stride); });
}

HRESULT TimingDevice::SetIndices(IDirect3DIndexBuffer9* buffer) {
    return timed([&] { return inner_->SetIndices(buffer); });
}

HRESULT TimingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount,
                                      const void* vertexData, UINT stride) {
    return drawn([&] { return inner_->DrawPrimitiveUP(type, primitiveCount, vertexData, stride); });
}

HRESULT TimingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex,
                                           UINT minVertexIndex, UINT numVertices, UINT startIndex,
                                           UINT primitiveCount) {
    return drawn([&] {
        return inner_->DrawIndexedPrimitive(type, baseVertexIndex, minVertexIndex, numVertices,
                                            startIndex, primitiveCount);
    });
}

HRESULT TimingDevice::CreateProgram(const char* vertexSource, const char* fragmentSource,
                                    IDirect3DProgram9** program) {
    tellCreation("program", 0, 0);
    return created([&] { return inner_->CreateProgram(vertexSource, fragmentSource, program); });
}

HRESULT TimingDevice::SetProgram(IDirect3DProgram9* program) {
    return timed([&] { return inner_->SetProgram(program); });
}

HRESULT TimingDevice::GetProgram(IDirect3DProgram9** program) {
    return timed([&] { return inner_->GetProgram(program); });
}

HRESULT TimingDevice::SetProgramConstantF(INT location, const float* data,
                                          D3DPROGRAMCONSTANTSHAPE shape, UINT count) {
    return timed([&] { return inner_->SetProgramConstantF(location, data, shape, count); });
}

HRESULT TimingDevice::SetProgramConstantI(INT location, const INT* data,
                                          D3DPROGRAMCONSTANTSHAPE shape, UINT count) {
    return timed([&] { return inner_->SetProgramConstantI(location, data, shape, count); });
}
