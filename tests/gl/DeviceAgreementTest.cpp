// The recording device and the OpenGL device answer the same call sequence with the same
// results, so that a unit test on the recording device predicts what the show does on GL.
// One script of calls, valid and invalid, runs against both; the results are compared step by
// step.
#include <gtest/gtest.h>

#include <algorithm>
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

std::string answer(const char* what, HRESULT hr, DWORD value = 0) {
    char text[160];
    std::snprintf(text, sizeof text, "%s -> 0x%08X value %u", what, static_cast<unsigned>(hr),
                  hr == D3D_OK ? static_cast<unsigned>(value) : 0u);
    return text;
}

// Every default-state query, and creation calls valid and invalid, as each device answers them.
std::vector<std::string> defaultsAndCreations(IDirect3DDevice9* device) {
    std::vector<std::string> results;
    char what[96];
    for (DWORD state = 0; state <= 256; ++state) {
        DWORD value = 0;
        std::snprintf(what, sizeof what, "render state %u", state);
        results.push_back(answer(
            what, device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(state), &value), value));
    }
    for (DWORD sampler : {0u, 15u, 16u, 257u, 260u, 261u}) {
        for (DWORD type = 0; type <= 14; ++type) {
            DWORD value = 0;
            std::snprintf(what, sizeof what, "sampler %u state %u", sampler, type);
            results.push_back(answer(
                what,
                device->GetSamplerState(sampler, static_cast<D3DSAMPLERSTATETYPE>(type), &value),
                value));
        }
    }
    for (DWORD stage = 0; stage <= 8; ++stage) {
        for (DWORD type = 0; type <= 33; ++type) {
            DWORD value = 0;
            std::snprintf(what, sizeof what, "stage %u state %u", stage, type);
            results.push_back(
                answer(what,
                       device->GetTextureStageState(
                           stage, static_cast<D3DTEXTURESTAGESTATETYPE>(type), &value),
                       value));
        }
    }
    for (DWORD transform : {2u, 3u, 16u, 256u, 257u, 511u, 512u}) {
        D3DMATRIX m{};
        std::snprintf(what, sizeof what, "transform %u", transform);
        results.push_back(
            answer(what, device->GetTransform(static_cast<D3DTRANSFORMSTATETYPE>(transform), &m),
                   static_cast<DWORD>(m.m[0][0] + m.m[1][1] + m.m[2][2] + m.m[3][3])));
    }
    int handle = 0;
    // The object is read after the call that makes it (arguments have no order).
    auto keep = [&](const char* name, HRESULT hr, IUnknown** made) {
        results.push_back(answer(name, hr, *made != nullptr));
        if (*made != nullptr) {
            (*made)->Release();
            *made = nullptr;
        }
    };
    IDirect3DTexture9* t = nullptr;
    keep("texture 64x32 all levels",
         device->CreateTexture(64, 32, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr),
         reinterpret_cast<IUnknown**>(&t));
    keep("texture with 8 levels of 7",
         device->CreateTexture(64, 32, 8, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr),
         reinterpret_cast<IUnknown**>(&t));
    keep("managed render target",
         device->CreateTexture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t,
                               nullptr),
         reinterpret_cast<IUnknown**>(&t));
    keep("automatic chain of 2",
         device->CreateTexture(8, 8, 2, D3DUSAGE_AUTOGENMIPMAP, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                               &t, nullptr),
         reinterpret_cast<IUnknown**>(&t));
    void* shared = &handle;
    keep("shared texture",
         device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, &shared),
         reinterpret_cast<IUnknown**>(&t));
    IDirect3DSurface9* s = nullptr;
    keep("depth surface",
         device->CreateDepthStencilSurface(8, 8, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE, &s,
                                           nullptr),
         reinterpret_cast<IUnknown**>(&s));
    keep("depth surface of a colour format",
         device->CreateDepthStencilSurface(8, 8, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, TRUE, &s,
                                           nullptr),
         reinterpret_cast<IUnknown**>(&s));
    keep("shared depth surface",
         device->CreateDepthStencilSurface(8, 8, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE, &s,
                                           &shared),
         reinterpret_cast<IUnknown**>(&s));
    keep("system-memory surface",
         device->CreateOffscreenPlainSurface(8, 8, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &s, nullptr),
         reinterpret_cast<IUnknown**>(&s));
    keep("managed surface",
         device->CreateOffscreenPlainSurface(8, 8, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &s, nullptr),
         reinterpret_cast<IUnknown**>(&s));
    IDirect3DVertexBuffer9* v = nullptr;
    keep("empty vertex buffer", device->CreateVertexBuffer(0, 0, 0, D3DPOOL_MANAGED, &v, nullptr),
         reinterpret_cast<IUnknown**>(&v));
    IDirect3DIndexBuffer9* i = nullptr;
    keep("index buffer of 8-bit indices",
         device->CreateIndexBuffer(12, 0, D3DFMT_L8, D3DPOOL_MANAGED, &i, nullptr),
         reinterpret_cast<IUnknown**>(&i));
    return results;
}

IDirect3DTexture9* makeTexture(IDirect3DDevice9* device, UINT side, UINT levels, DWORD usage,
                               D3DFORMAT format, D3DPOOL pool) {
    IDirect3DTexture9* texture = nullptr;
    device->CreateTexture(side, side, levels, usage, format, pool, &texture, nullptr);
    return texture;
}

// Direct3D's pool rule for locks, and UpdateTexture's rules, as each device answers them.
std::vector<std::string> locksAndUpdates(IDirect3DDevice9* device) {
    std::vector<std::string> results;
    struct Lock {
        const char* name;
        DWORD usage;
        D3DPOOL pool;
    };
    for (const Lock& lock :
         {Lock{"managed", 0, D3DPOOL_MANAGED}, Lock{"system memory", 0, D3DPOOL_SYSTEMMEM},
          Lock{"default", 0, D3DPOOL_DEFAULT},
          Lock{"default dynamic", D3DUSAGE_DYNAMIC, D3DPOOL_DEFAULT},
          Lock{"render target", D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT}}) {
        IDirect3DTexture9* texture =
            makeTexture(device, 8, 1, lock.usage, D3DFMT_A8R8G8B8, lock.pool);
        if (texture == nullptr) {
            results.push_back(std::string("no texture ") + lock.name);
            continue;
        }
        D3DLOCKED_RECT locked{};
        HRESULT hr = texture->LockRect(0, &locked, nullptr, 0);
        texture->UnlockRect(0);
        results.push_back(answer(lock.name, hr, 0));
        IDirect3DSurface9* level = nullptr;
        texture->GetSurfaceLevel(0, &level);
        hr = level->LockRect(&locked, nullptr, D3DLOCK_READONLY);
        level->UnlockRect();
        level->Release();
        results.push_back(answer(lock.name, hr, 1));
        texture->Release();
    }
    auto lockSurface = [&](const char* name, IDirect3DSurface9* surface) {
        D3DLOCKED_RECT locked{};
        const HRESULT hr = surface->LockRect(&locked, nullptr, D3DLOCK_READONLY);
        surface->UnlockRect();
        surface->Release();
        results.push_back(answer(name, hr, 0));
    };
    IDirect3DSurface9* surface = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface);
    lockSurface("back buffer", surface);
    device->CreateDepthStencilSurface(8, 8, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE, &surface,
                                      nullptr);
    lockSurface("depth surface", surface);
    device->CreateOffscreenPlainSurface(8, 8, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &surface,
                                        nullptr);
    lockSurface("system-memory surface", surface);
    struct Update {
        const char* name;
        UINT sourceSide, sourceLevels, destinationSide, destinationLevels;
        D3DPOOL sourcePool;
        D3DFORMAT sourceFormat;
    };
    for (const Update& update : {
             Update{"whole chain", 16, 0, 16, 0, D3DPOOL_SYSTEMMEM, D3DFMT_A8R8G8B8},
             Update{"larger source", 16, 0, 4, 0, D3DPOOL_SYSTEMMEM, D3DFMT_A8R8G8B8},
             Update{"smaller source", 8, 0, 16, 0, D3DPOOL_SYSTEMMEM, D3DFMT_A8R8G8B8},
             Update{"too few source levels", 16, 1, 16, 2, D3DPOOL_SYSTEMMEM, D3DFMT_A8R8G8B8},
             Update{"managed source", 16, 0, 16, 0, D3DPOOL_MANAGED, D3DFMT_A8R8G8B8},
             Update{"other format", 16, 0, 16, 0, D3DPOOL_SYSTEMMEM, D3DFMT_X8R8G8B8},
         }) {
        IDirect3DTexture9* source = makeTexture(device, update.sourceSide, update.sourceLevels, 0,
                                                update.sourceFormat, update.sourcePool);
        IDirect3DTexture9* destination =
            makeTexture(device, update.destinationSide, update.destinationLevels, 0,
                        D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
        results.push_back(answer(update.name, device->UpdateTexture(source, destination), 0));
        results.push_back(answer("backwards", device->UpdateTexture(destination, source), 0));
        source->Release();
        destination->Release();
    }
    return results;
}

IDirect3DDevice9* createGLDevice(IDirect3D9* d3d) {
    D3DPRESENT_PARAMETERS pp = presentation();
    IDirect3DDevice9* gl = nullptr;
    d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                      D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &pp, &gl);
    return gl;
}

// Runs `script` on a recording device and on the GL device, expects the same answers from both
// and returns the recording device's.
std::vector<std::string> answeredAlike(
    const std::function<std::vector<std::string>(IDirect3DDevice9*)>& script) {
    auto* recording = new RecordingDevice(presentation());
    const auto recorded = script(recording);
    recording->Release();

    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    EXPECT_NE(d3d, nullptr);
    IDirect3DDevice9* gl = d3d != nullptr ? createGLDevice(d3d) : nullptr;
    EXPECT_NE(gl, nullptr);
    if (gl == nullptr) {
        return recorded;
    }
    const auto drawn = script(gl);
    EXPECT_EQ(gl->Release(), 0u);
    d3d->Release();
    EXPECT_EQ(recorded.size(), drawn.size());
    for (std::size_t i = 0; i < std::min(recorded.size(), drawn.size()); ++i) {
        EXPECT_EQ(drawn[i], recorded[i]) << "step " << i;
    }
    return recorded;
}

TEST(DeviceAgreementTest, BothDevicesAnswerTheScriptAlike) {
    answeredAlike(run);
}

// Both keep their defaults in one shared table and check arguments with one set of rules.
TEST(DeviceAgreementTest, BothDevicesStartAtTheSameDefaultsAndCreateAlike) {
    answeredAlike(defaultsAndCreations);
}

// Both follow Direct3D's lock and update rules, so a recording test cannot pass code a real
// driver would refuse.
TEST(DeviceAgreementTest, BothDevicesLockAndUpdateAlike) {
    const auto answers = answeredAlike(locksAndUpdates);
    ASSERT_EQ(answers.size(), 25u);
    EXPECT_EQ(answers[4], "default -> 0x8876086C value 0") << "a default-pool texture";
    EXPECT_EQ(answers[6], "default dynamic -> 0x00000000 value 0");
    EXPECT_EQ(answers[10], "back buffer -> 0x8876086C value 0");
    EXPECT_EQ(answers[12], "system-memory surface -> 0x00000000 value 0");
    EXPECT_EQ(answers[13], "whole chain -> 0x00000000 value 0");
    EXPECT_EQ(answers[15], "larger source -> 0x00000000 value 0");
}

}  // namespace
