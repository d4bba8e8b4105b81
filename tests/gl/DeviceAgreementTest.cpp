// The recording device and the OpenGL device answer the same call sequence with the same
// results, so that a unit test on the recording device predicts what the show does on GL.
// One script of calls, valid and invalid, runs against both; the results are compared step by
// step.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/recording/RecordingDevice.h"

namespace {

constexpr UINT kSize = 64;

D3DPRESENT_PARAMETERS presentation() {
    D3DPRESENT_PARAMETERS pp = RecordingDevice::defaultPresentation();
    pp.BackBufferWidth = kSize;
    pp.BackBufferHeight = kSize;
    pp.BackBufferFormat = D3DFMT_A8R8G8B8;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return pp;
}

// What a step may need, made by earlier steps on the device under test.
struct Objects {
    IDirect3DDevice9* device = nullptr;
    IDirect3DTexture9* target = nullptr;
    IDirect3DSurface9* targetSurface = nullptr;
    IDirect3DSurface9* back = nullptr;
    IDirect3DSurface9* depth = nullptr;
    IDirect3DSurface9* copyX8 = nullptr;
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;

    ~Objects() {
        for (IUnknown* object : std::initializer_list<IUnknown*>{targetSurface, target, back, depth,
                                                                 copyX8, vertices, indices}) {
            if (object != nullptr) {
                object->Release();
            }
        }
    }
};

struct Step {
    const char* what;
    std::function<HRESULT(Objects&)> call;
};

const float kQuad[6][5] = {{-1, -1, 0, 0, 1}, {-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0},
                           {1, 1, 0, 1, 0},   {1, -1, 0, 1, 1}, {-1, -1, 0, 0, 1}};

HRESULT viewport(Objects& o, DWORD x, DWORD y, DWORD w, DWORD h) {
    const D3DVIEWPORT9 v{x, y, w, h, 0.0f, 1.0f};
    return o.device->SetViewport(&v);
}

std::vector<Step> script() {
    const auto draw = [](Objects& o) {
        return o.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kQuad, 20);
    };
    return {
        {"draw before any scene", draw},
        {"EndScene without BeginScene", [](Objects& o) { return o.device->EndScene(); }},
        {"BeginScene", [](Objects& o) { return o.device->BeginScene(); }},
        {"BeginScene again", [](Objects& o) { return o.device->BeginScene(); }},
        {"draw without vertex format", draw},
        {"SetFVF XYZ|TEX1", [](Objects& o) { return o.device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1); }},
        {"draw with stride 0",
         [](Objects& o) { return o.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kQuad, 0); }},
        {"draw nothing from null memory",
         [](Objects& o) { return o.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 0, nullptr, 20); }},
        {"draw from null memory",
         [](Objects& o) { return o.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, nullptr, 20); }},
        {"draw an unknown primitive",
         [](Objects& o) {
             return o.device->DrawPrimitiveUP(static_cast<D3DPRIMITIVETYPE>(9), 2, kQuad, 20);
         }},
        {"draw the quad", draw},
        {"indexed draw without indices",
         [](Objects& o) {
             return o.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
         }},
        {"indexed draw of nothing",
         [](Objects& o) {
             return o.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 0);
         }},
        {"CreateIndexBuffer",
         [](Objects& o) {
             return o.device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM,
                                                &o.indices, nullptr);
         }},
        {"CreateVertexBuffer",
         [](Objects& o) {
             return o.device->CreateVertexBuffer(120, 0, 0, D3DPOOL_SYSTEMMEM, &o.vertices,
                                                 nullptr);
         }},
        {"SetIndices", [](Objects& o) { return o.device->SetIndices(o.indices); }},
        {"indexed draw with stream 0 unbound by the quad",
         [](Objects& o) {
             return o.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
         }},
        {"SetStreamSource stride 0",
         [](Objects& o) { return o.device->SetStreamSource(0, o.vertices, 0, 0); }},
        {"indexed draw from a stream of stride 0",
         [](Objects& o) {
             return o.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
         }},
        {"SetStreamSource stride 20",
         [](Objects& o) { return o.device->SetStreamSource(0, o.vertices, 0, 20); }},
        {"indexed draw",
         [](Objects& o) {
             return o.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
         }},
        {"indexed draw past the last index",
         [](Objects& o) {
             return o.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 2);
         }},
        {"EndScene", [](Objects& o) { return o.device->EndScene(); }},
        {"draw after the scene", draw},
        {"viewport inside the back buffer", [](Objects& o) { return viewport(o, 8, 8, 16, 16); }},
        {"empty viewport", [](Objects& o) { return viewport(o, 8, 8, 0, 0); }},
        {"viewport past the right edge", [](Objects& o) { return viewport(o, 60, 0, 8, 8); }},
        {"CreateTexture, more levels than the chain",
         [](Objects& o) {
             return o.device->CreateTexture(32, 32, 7, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                            &o.target, nullptr);
         }},
        {"CreateTexture, render target outside the default pool",
         [](Objects& o) {
             return o.device->CreateTexture(32, 32, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                            D3DPOOL_SYSTEMMEM, &o.target, nullptr);
         }},
        {"CreateTexture, 32x32 render target",
         [](Objects& o) {
             return o.device->CreateTexture(32, 32, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                            D3DPOOL_DEFAULT, &o.target, nullptr);
         }},
        {"GetSurfaceLevel",
         [](Objects& o) { return o.target->GetSurfaceLevel(0, &o.targetSurface); }},
        {"GetBackBuffer",
         [](Objects& o) {
             return o.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &o.back);
         }},
        {"SetRenderTarget 0 to the 32x32 target",
         [](Objects& o) { return o.device->SetRenderTarget(0, o.targetSurface); }},
        {"64x64 viewport on the 32x32 target",
         [](Objects& o) { return viewport(o, 0, 0, 64, 64); }},
        {"SetRenderTarget 0 to null",
         [](Objects& o) { return o.device->SetRenderTarget(0, nullptr); }},
        {"SetRenderTarget 4", [](Objects& o) { return o.device->SetRenderTarget(4, o.back); }},
        {"SetRenderTarget 1 to null",
         [](Objects& o) { return o.device->SetRenderTarget(1, nullptr); }},
        {"GetRenderTarget 1 (empty)",
         [](Objects& o) {
             IDirect3DSurface9* s = nullptr;
             const HRESULT hr = o.device->GetRenderTarget(1, &s);
             return s == nullptr ? hr : E_FAIL;
         }},
        {"SetRenderTarget 0 to the back buffer",
         [](Objects& o) { return o.device->SetRenderTarget(0, o.back); }},
        {"Clear stencil on D24S8",
         [](Objects& o) { return o.device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0); }},
        {"GetDepthStencilSurface",
         [](Objects& o) { return o.device->GetDepthStencilSurface(&o.depth); }},
        {"SetDepthStencilSurface null",
         [](Objects& o) { return o.device->SetDepthStencilSurface(nullptr); }},
        {"Clear depth without a depth surface",
         [](Objects& o) { return o.device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0); }},
        {"SetDepthStencilSurface back",
         [](Objects& o) { return o.device->SetDepthStencilSurface(o.depth); }},
        {"GetBackBuffer of an unknown type",
         [](Objects& o) {
             IDirect3DSurface9* s = nullptr;
             const HRESULT hr =
                 o.device->GetBackBuffer(0, 0, static_cast<D3DBACKBUFFER_TYPE>(1), &s);
             return s == nullptr ? hr : E_FAIL;
         }},
        {"CreateOffscreenPlainSurface X8R8G8B8",
         [](Objects& o) {
             return o.device->CreateOffscreenPlainSurface(kSize, kSize, D3DFMT_X8R8G8B8,
                                                          D3DPOOL_SYSTEMMEM, &o.copyX8, nullptr);
         }},
        {"GetRenderTargetData into another format",
         [](Objects& o) { return o.device->GetRenderTargetData(o.back, o.copyX8); }},
        {"GetRenderTargetData into another size",
         [](Objects& o) { return o.device->GetRenderTargetData(o.targetSurface, o.copyX8); }},
        {"SetSamplerState on sampler 16",
         [](Objects& o) {
             return o.device->SetSamplerState(16, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
         }},
        {"SetProgramConstantF without a program",
         [](Objects& o) {
             const float value[4] = {};
             return o.device->SetProgramConstantF(0, value, D3DPCS_VEC4, 1);
         }},
        {"Present",
         [](Objects& o) { return o.device->Present(nullptr, nullptr, nullptr, nullptr); }},
    };
}

std::vector<std::string> run(IDirect3DDevice9* device) {
    Objects objects;
    objects.device = device;
    std::vector<std::string> results;
    for (const Step& step : script()) {
        char hr[16];
        std::snprintf(hr, sizeof hr, "0x%08X", static_cast<unsigned>(step.call(objects)));
        results.push_back(std::string(step.what) + " -> " + hr);
    }
    return results;
}

TEST(DeviceAgreementTest, BothDevicesAnswerTheScriptAlike) {
    auto* recording = new RecordingDevice(presentation());
    const auto recorded = run(recording);
    recording->Release();

    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DPRESENT_PARAMETERS pp = presentation();
    IDirect3DDevice9* gl = nullptr;
    ASSERT_EQ(
        d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                          D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &pp, &gl),
        D3D_OK);
    const auto drawn = run(gl);
    EXPECT_EQ(gl->Release(), 0u);
    d3d->Release();

    ASSERT_EQ(recorded.size(), drawn.size());
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        EXPECT_EQ(drawn[i], recorded[i]) << "step " << i;
    }
}

}  // namespace
