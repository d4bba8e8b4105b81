// A device that only remembers the viewports set on it; every other call fails with
// E_NOTIMPL, so a test notices any device use it did not expect.
#pragma once

#include <vector>

#include "platform/d3d9/d3d9.h"

class ViewportDeviceFake : public IDirect3DDevice9 {
public:
    std::vector<D3DVIEWPORT9> viewports;
    int otherCalls = 0;

    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override {
        viewports.push_back(*viewport);
        return D3D_OK;
    }

    HRESULT BeginScene() override { return other(); }
    HRESULT EndScene() override { return other(); }
    HRESULT Present(const RECT*, const RECT*, HWND, const void*) override { return other(); }
    HRESULT Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override { return other(); }
    HRESULT GetViewport(D3DVIEWPORT9*) override { return other(); }
    HRESULT GetDeviceCaps(D3DCAPS9*) override { return other(); }
    HRESULT SetRenderState(D3DRENDERSTATETYPE, DWORD) override { return other(); }
    HRESULT GetRenderState(D3DRENDERSTATETYPE, DWORD*) override { return other(); }
    HRESULT SetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD) override { return other(); }
    HRESULT GetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD*) override { return other(); }
    HRESULT SetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD) override {
        return other();
    }
    HRESULT GetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD*) override {
        return other();
    }
    HRESULT SetTexture(DWORD, IDirect3DBaseTexture9*) override { return other(); }
    HRESULT GetTexture(DWORD, IDirect3DBaseTexture9**) override { return other(); }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) override { return other(); }
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE, D3DMATRIX*) override { return other(); }
    HRESULT GetRenderTarget(DWORD, IDirect3DSurface9**) override { return other(); }
    HRESULT SetRenderTarget(DWORD, IDirect3DSurface9*) override { return other(); }
    HRESULT GetDepthStencilSurface(IDirect3DSurface9**) override { return other(); }
    HRESULT SetDepthStencilSurface(IDirect3DSurface9*) override { return other(); }
    HRESULT GetBackBuffer(UINT, UINT, D3DBACKBUFFER_TYPE, IDirect3DSurface9**) override {
        return other();
    }
    HRESULT GetRenderTargetData(IDirect3DSurface9*, IDirect3DSurface9*) override { return other(); }
    HRESULT ColorFill(IDirect3DSurface9*, const RECT*, D3DCOLOR) override { return other(); }
    HRESULT UpdateTexture(IDirect3DBaseTexture9*, IDirect3DBaseTexture9*) override {
        return other();
    }
    HRESULT CreateTexture(UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DTexture9**,
                          void**) override {
        return other();
    }
    HRESULT CreateDepthStencilSurface(UINT, UINT, D3DFORMAT, D3DMULTISAMPLE_TYPE, DWORD, BOOL,
                                      IDirect3DSurface9**, void**) override {
        return other();
    }
    HRESULT CreateOffscreenPlainSurface(UINT, UINT, D3DFORMAT, D3DPOOL, IDirect3DSurface9**,
                                        void**) override {
        return other();
    }
    HRESULT CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer9**,
                               void**) override {
        return other();
    }
    HRESULT CreateIndexBuffer(UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer9**,
                              void**) override {
        return other();
    }
    HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9*,
                                    IDirect3DVertexDeclaration9**) override {
        return other();
    }
    HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9*) override { return other(); }
    HRESULT SetFVF(DWORD) override { return other(); }
    HRESULT SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT) override { return other(); }
    HRESULT SetIndices(IDirect3DIndexBuffer9*) override { return other(); }
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE, UINT, const void*, UINT) override { return other(); }
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT, UINT, UINT) override {
        return other();
    }
    HRESULT CreateProgram(const char*, const char*, IDirect3DProgram9**) override {
        return other();
    }
    HRESULT SetProgram(IDirect3DProgram9*) override { return other(); }
    HRESULT GetProgram(IDirect3DProgram9**) override { return other(); }
    HRESULT SetProgramConstantF(INT, const float*, D3DPROGRAMCONSTANTSHAPE, UINT) override {
        return other();
    }
    HRESULT SetProgramConstantI(INT, const INT*, D3DPROGRAMCONSTANTSHAPE, UINT) override {
        return other();
    }

private:
    HRESULT other() {
        ++otherCalls;
        return E_NOTIMPL;
    }
};
