// The recording device: its log, injected failures, the state it reports back, render-target
// rules, clears that reach surface memory, draws and programs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/d3d9/core/DeviceRules.h"
#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3d9/recording/RecordingProgram.h"
#include "platform/d3d9/recording/RecordingSurface.h"
#include "platform/d3d9/recording/RecordingTexture.h"

using ::testing::ElementsAre;

namespace {

struct XyzTex {
    float x, y, z, u, v;
};

class RecordingDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { device = new RecordingDevice(); }
    void TearDown() override { device->Release(); }

    IDirect3DTexture9* createTexture(UINT w, UINT h, DWORD usage = D3DUSAGE_RENDERTARGET) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(device->CreateTexture(w, h, 1, usage, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture,
                                        nullptr),
                  D3D_OK);
        return texture;
    }

    RecordingDevice* device = nullptr;
};

TEST_F(RecordingDeviceTest, LogReadsLikeTheCallsInOrder) {
    IDirect3DTexture9* texture = createTexture(64, 32, 0);
    const XyzTex quad[6] = {};
    device->clearCalls();

    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR | D3DTA_COMPLEMENT);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x80000000, 1.0f, 0);
    device->SetTexture(0, texture);
    // The effect framework finds the sink from the device interface it holds.
    auto* sink = dynamic_cast<IDirect3DCallSink9*>(static_cast<IDirect3DDevice9*>(device));
    ASSERT_NE(sink, nullptr);
    sink->RecordCall("Effect.SetFloat(\"power\", 0.5) -> OK");
    device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
    device->BeginScene();
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(XyzTex));
    device->EndScene();
    device->SetViewport(nullptr);

    EXPECT_THAT(
        device->calls(),
        ElementsAre("SetRenderState(D3DRS_ZWRITEENABLE, 0)",
                    "SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)",
                    "SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP)",
                    "SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR|D3DTA_COMPLEMENT)",
                    "Clear(0, null, 0x3, 0x80000000, 1, 0)", "SetTexture(0, tex#1)",
                    "Effect.SetFloat(\"power\", 0.5) -> OK", "SetFVF(D3DFVF_XYZ|D3DFVF_TEX1)",
                    "BeginScene()", "DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, stride 20)",
                    "EndScene()", "SetViewport(null) -> D3DERR_INVALIDCALL"));
    EXPECT_EQ(device->countCalls("SetRenderState"), 2u);
    EXPECT_EQ(device->countCalls("Effect.SetFloat"), 1u);
    EXPECT_THAT(device->callsStartingWith("SetRenderState(D3DRS_CULL"),
                ElementsAre("SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)"));

    device->setRecordQueries(false);
    DWORD value = 0;
    device->GetRenderState(D3DRS_ZENABLE, &value);
    EXPECT_EQ(device->countCalls("GetRenderState"), 0u);
    device->clearCalls();
    EXPECT_TRUE(device->calls().empty());
    texture->Release();
}

TEST_F(RecordingDeviceTest, InjectedFailuresChangeNothing) {
    device->failCall("SetViewport", E_FAIL);
    const D3DVIEWPORT9 small{10, 10, 20, 20, 0.0f, 1.0f};
    EXPECT_EQ(device->SetViewport(&small), E_FAIL);
    EXPECT_EQ(device->SetViewport(&small), E_FAIL);
    EXPECT_EQ(device->viewport().Width, 640u);
    EXPECT_THAT(device->callsStartingWith("SetViewport"),
                ElementsAre("SetViewport(10, 10, 20, 20, 0, 1) -> E_FAIL",
                            "SetViewport(10, 10, 20, 20, 0, 1) -> E_FAIL"));

    device->clearFailures();
    device->failCall("Present", D3DERR_DEVICELOST, 2);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    device->failCall("CreateTexture", D3DERR_OUTOFVIDEOMEMORY, 1);
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(&texture);
    EXPECT_EQ(
        device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
        D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(device->liveObjectCount(), 0u);

    IDirect3DTexture9* target = createTexture(32, 32);
    IDirect3DSurface9* level = nullptr;
    target->GetSurfaceLevel(0, &level);
    device->failCall("SetRenderTarget", E_FAIL);
    EXPECT_EQ(device->SetRenderTarget(0, level), E_FAIL);
    EXPECT_EQ(device->renderTargetAt(0), &device->backBuffer());
    EXPECT_EQ(device->viewport().Width, 640u);

    device->failCall("GetRenderTarget", E_FAIL);
    IDirect3DSurface9* got = level;
    EXPECT_EQ(device->GetRenderTarget(0, &got), E_FAIL);
    EXPECT_EQ(got, nullptr);
    EXPECT_EQ(device->backBuffer().publicRefs(), 0u);
    level->Release();
    target->Release();
}

class DefaultStateTest : public ::testing::TestWithParam<bool> {};

TEST_P(DefaultStateTest, GetAnswersTheDefaultsOfAFreshDevice) {
    D3DPRESENT_PARAMETERS parameters = RecordingDevice::defaultPresentation();
    parameters.EnableAutoDepthStencil = GetParam();
    parameters.BackBufferWidth = 320;
    parameters.BackBufferHeight = 200;
    auto* device = new RecordingDevice(parameters);

    DWORD value = 99;
    device->GetRenderState(D3DRS_ZENABLE, &value);
    EXPECT_EQ(value, GetParam() ? D3DZB_TRUE : D3DZB_FALSE);
    IDirect3DSurface9* depth = nullptr;
    EXPECT_EQ(device->GetDepthStencilSurface(&depth), GetParam() ? D3D_OK : D3DERR_NOTFOUND);
    if (depth != nullptr) {
        D3DSURFACE_DESC desc{};
        depth->GetDesc(&desc);
        EXPECT_EQ(desc.Format, D3DFMT_D24S8);
        EXPECT_EQ(desc.Width, 320u);
        depth->Release();
    }

    const std::pair<D3DRENDERSTATETYPE, DWORD> renderDefaults[] = {
        {D3DRS_ZWRITEENABLE, TRUE},
        {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRS_ALPHABLENDENABLE, FALSE},
        {D3DRS_SRCBLEND, D3DBLEND_ONE},
        {D3DRS_DESTBLEND, D3DBLEND_ZERO},
        {D3DRS_BLENDOP, D3DBLENDOP_ADD},
        {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu},
        {D3DRS_LIGHTING, TRUE},
        {D3DRS_AMBIENT, 0},
        {D3DRS_COLORWRITEENABLE, 0xF},
        {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
        {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
        {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
    };
    for (const auto& [state, expected] : renderDefaults) {
        device->GetRenderState(state, &value);
        EXPECT_EQ(value, expected) << "render state " << state;
    }

    device->GetTextureStageState(0, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, D3DTOP_MODULATE);
    device->GetTextureStageState(0, D3DTSS_ALPHAOP, &value);
    EXPECT_EQ(value, D3DTOP_SELECTARG1);
    device->GetTextureStageState(1, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, D3DTOP_DISABLE);
    device->GetTextureStageState(0, D3DTSS_COLORARG2, &value);
    EXPECT_EQ(value, D3DTA_CURRENT);
    device->GetTextureStageState(3, D3DTSS_TEXCOORDINDEX, &value);
    EXPECT_EQ(value, 3u);
    EXPECT_EQ(device->GetTextureStageState(8, D3DTSS_COLOROP, &value), D3DERR_INVALIDCALL);

    for (DWORD sampler : {0u, 15u, D3DVERTEXTEXTURESAMPLER0}) {
        device->GetSamplerState(sampler, D3DSAMP_ADDRESSV, &value);
        EXPECT_EQ(value, D3DTADDRESS_WRAP);
        device->GetSamplerState(sampler, D3DSAMP_MINFILTER, &value);
        EXPECT_EQ(value, D3DTEXF_POINT);
        device->GetSamplerState(sampler, D3DSAMP_MIPFILTER, &value);
        EXPECT_EQ(value, D3DTEXF_NONE);
        device->GetSamplerState(sampler, D3DSAMP_MAXANISOTROPY, &value);
        EXPECT_EQ(value, 1u);
    }
    EXPECT_EQ(device->GetSamplerState(16, D3DSAMP_ADDRESSU, &value), D3DERR_INVALIDCALL);

    D3DMATRIX matrix{};
    device->GetTransform(D3DTS_PROJECTION, &matrix);
    EXPECT_EQ(matrix.m[0][0], 1.0f);
    EXPECT_EQ(matrix.m[3][3], 1.0f);
    EXPECT_EQ(matrix.m[3][0], 0.0f);

    D3DVIEWPORT9 viewport{};
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 320u);
    EXPECT_EQ(viewport.Height, 200u);
    EXPECT_EQ(viewport.MaxZ, 1.0f);
    device->Release();
}

INSTANTIATE_TEST_SUITE_P(AutoDepthStencil, DefaultStateTest, ::testing::Bool());

TEST_F(RecordingDeviceTest, SetStateIsReadBack) {
    DWORD value = 0;
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->GetRenderState(D3DRS_SRCBLEND, &value);
    EXPECT_EQ(value, D3DBLEND_SRCALPHA);
    device->SetSamplerState(2, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->GetSamplerState(2, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, D3DTEXF_LINEAR);
    device->GetSamplerState(1, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, D3DTEXF_POINT);

    D3DMATRIX world = DeviceRules::identity();
    world.m[3][0] = 5.0f;
    device->SetTransform(D3DTS_WORLD, &world);
    D3DMATRIX back{};
    device->GetTransform(D3DTS_WORLD, &back);
    EXPECT_EQ(back.m[3][0], 5.0f);
    ASSERT_EQ(device->transformsSet().size(), 1u);
    EXPECT_EQ(device->transformsSet()[0].first, D3DTS_WORLD);
    EXPECT_EQ(device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(1), &world),
              D3DERR_INVALIDCALL);
}

TEST_F(RecordingDeviceTest, RenderTargetSlotRules) {
    IDirect3DTexture9* target = createTexture(128, 64);
    IDirect3DTexture9* plain = createTexture(16, 16, 0);
    IDirect3DSurface9* level = nullptr;
    IDirect3DSurface9* plainLevel = nullptr;
    target->GetSurfaceLevel(0, &level);
    plain->GetSurfaceLevel(0, &plainLevel);

    EXPECT_EQ(device->SetRenderTarget(0, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetRenderTarget(4, level), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetRenderTarget(0, plainLevel), D3DERR_INVALIDCALL);

    IDirect3DSurface9* got = level;
    EXPECT_EQ(device->GetRenderTarget(1, &got), D3DERR_NOTFOUND);
    EXPECT_EQ(got, nullptr);
    EXPECT_EQ(device->GetRenderTarget(4, &got), D3DERR_INVALIDCALL);

    const D3DVIEWPORT9 inner{8, 8, 32, 16, 0.0f, 1.0f};
    device->SetViewport(&inner);
    EXPECT_EQ(device->SetRenderTarget(1, level), D3D_OK);
    EXPECT_EQ(device->viewport().X, 8u) << "slots other than 0 leave the viewport";
    EXPECT_EQ(device->SetRenderTarget(1, nullptr), D3D_OK);

    EXPECT_EQ(device->SetRenderTarget(0, level), D3D_OK);
    EXPECT_EQ(device->viewport().X, 0u);
    EXPECT_EQ(device->viewport().Width, 128u);
    EXPECT_EQ(device->viewport().Height, 64u);
    const D3DVIEWPORT9 tooWide{0, 0, 129, 64, 0.0f, 1.0f};
    EXPECT_EQ(device->SetViewport(&tooWide), D3DERR_INVALIDCALL);

    const ULONG before = target->AddRef() - 1;
    target->Release();
    EXPECT_EQ(device->GetRenderTarget(0, &got), D3D_OK);
    EXPECT_EQ(got, level);
    EXPECT_EQ(target->AddRef(), before + 2) << "GetRenderTarget adds a reference";
    target->Release();
    got->Release();

    IDirect3DSurface9* back = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    EXPECT_EQ(device->SetRenderTarget(0, back), D3D_OK);
    EXPECT_EQ(device->viewport().Width, 640u);
    back->Release();

    level->Release();
    plainLevel->Release();
    target->Release();
    plain->Release();
}

TEST_F(RecordingDeviceTest, DepthStencilSlot) {
    IDirect3DSurface9* depth = nullptr;
    device->GetDepthStencilSurface(&depth);
    EXPECT_EQ(device->SetDepthStencilSurface(nullptr), D3D_OK);
    IDirect3DSurface9* none = depth;
    EXPECT_EQ(device->GetDepthStencilSurface(&none), D3DERR_NOTFOUND);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);

    IDirect3DSurface9* back = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    EXPECT_EQ(device->SetDepthStencilSurface(back), D3DERR_INVALIDCALL);
    back->Release();

    IDirect3DSurface9* d16 = nullptr;
    device->CreateDepthStencilSurface(64, 64, D3DFMT_D16, D3DMULTISAMPLE_NONE, 0, FALSE, &d16,
                                      nullptr);
    device->SetDepthStencilSurface(d16);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_INVALIDCALL)
        << "D16 has no stencil";
    device->SetDepthStencilSurface(depth);
    d16->Release();
    depth->Release();
}

TEST_F(RecordingDeviceTest, ClearFillsTheViewportOfEveryBoundTarget) {
    IDirect3DTexture9* second = createTexture(640, 360);
    IDirect3DSurface9* secondLevel = nullptr;
    second->GetSurfaceLevel(0, &secondLevel);
    device->SetRenderTarget(1, secondLevel);

    const D3DVIEWPORT9 letterbox{0, 40, 640, 280, 0.0f, 1.0f};
    device->SetViewport(&letterbox);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF336699,
                  1.0f, 7);

    const RecordingSurface& back = device->backBuffer();
    EXPECT_EQ(back.pixel(0, 39), 0u);
    EXPECT_EQ(back.pixel(0, 40), 0xFF336699u);
    EXPECT_EQ(back.pixel(639, 319), 0xFF336699u);
    EXPECT_EQ(back.pixel(639, 320), 0u);
    EXPECT_EQ(static_cast<RecordingTexture*>(second)->level(0)->pixel(5, 100), 0xFF336699u);
    EXPECT_EQ(device->autoDepthStencil()->pixel(5, 100), 0xFFFFFF07u);
    EXPECT_EQ(device->autoDepthStencil()->pixel(5, 10), 0u);

    // Rectangles are clipped to the viewport; a count of 0 with rectangles clears nothing.
    const D3DRECT rects[] = {{630, 0, 650, 50}};
    device->Clear(1, rects, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
    EXPECT_EQ(back.pixel(635, 39), 0u);
    EXPECT_EQ(back.pixel(635, 45), 0xFF00FF00u);
    EXPECT_EQ(back.pixel(629, 45), 0xFF336699u);
    device->Clear(0, rects, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    EXPECT_EQ(back.pixel(635, 45), 0xFF00FF00u);

    secondLevel->Release();
    second->Release();
}

TEST_F(RecordingDeviceTest, PictureReadsBackThroughSystemMemory) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030, 1.0f, 0);
    IDirect3DSurface9* back = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    IDirect3DSurface9* copy = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(640, 360, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                  &copy, nullptr),
              D3D_OK);
    EXPECT_EQ(device->GetRenderTargetData(back, copy), D3D_OK);

    D3DLOCKED_RECT locked{};
    ASSERT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(locked.Pitch, 640 * 4);
    const auto* row = static_cast<const BYTE*>(locked.pBits) + 359 * locked.Pitch;
    EXPECT_EQ(row[639 * 4 + 0], 0x30);  // B, G, R, A in memory
    EXPECT_EQ(row[639 * 4 + 2], 0x10);
    copy->UnlockRect();

    IDirect3DSurface9* small = nullptr;
    device->CreateOffscreenPlainSurface(320, 180, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &small,
                                        nullptr);
    EXPECT_EQ(device->GetRenderTargetData(back, small), D3DERR_INVALIDCALL);
    IDirect3DSurface9* defaultPool = nullptr;
    device->CreateOffscreenPlainSurface(640, 360, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &defaultPool,
                                        nullptr);
    EXPECT_EQ(device->GetRenderTargetData(back, defaultPool), D3DERR_INVALIDCALL);

    // ColorFill ignores the viewport and works on default-pool plain surfaces.
    const D3DVIEWPORT9 corner{0, 0, 1, 1, 0.0f, 1.0f};
    device->SetViewport(&corner);
    EXPECT_EQ(device->ColorFill(back, nullptr, 0xFFABCDEF), D3D_OK);
    EXPECT_EQ(device->backBuffer().pixel(600, 300), 0xFFABCDEFu);
    const RECT outside{600, 300, 700, 400};
    EXPECT_EQ(device->ColorFill(back, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->ColorFill(defaultPool, nullptr, 0xFF000001), D3D_OK);
    EXPECT_EQ(device->ColorFill(small, nullptr, 0), D3DERR_INVALIDCALL);

    defaultPool->Release();
    small->Release();
    copy->Release();
    back->Release();
}

TEST_F(RecordingDeviceTest, ClearOfAFloatTargetWritesHalfFloats) {
    IDirect3DTexture9* texture = nullptr;
    device->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A16B16G16R16F, D3DPOOL_DEFAULT,
                          &texture, nullptr);
    IDirect3DSurface9* level = nullptr;
    texture->GetSurfaceLevel(0, &level);
    device->ColorFill(level, nullptr, D3DCOLOR_ARGB(255, 255, 0, 0));
    const auto& bytes = static_cast<RecordingSurface*>(level)->bytes();
    const auto half = [&](int i) {
        return static_cast<WORD>(bytes[i * 2] | bytes[i * 2 + 1] << 8);
    };
    EXPECT_EQ(half(0), 0x3C00);  // red 1.0
    EXPECT_EQ(half(1), 0x0000);
    EXPECT_EQ(half(3), 0x3C00);  // alpha 1.0
    level->Release();
    texture->Release();
}

TEST_F(RecordingDeviceTest, DrawPrimitiveUpCopiesVerticesAndUnbindsStreamZero) {
    const XyzTex quad[6] = {{-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0},  {1, -1, 0, 1, 1},
                            {-1, 1, 0, 0, 0}, {1, -1, 0, 1, 1}, {-1, -1, 0, 0, 1}};
    IDirect3DVertexBuffer9* buffer = nullptr;
    device->CreateVertexBuffer(120, 0, 0, D3DPOOL_SYSTEMMEM, &buffer, nullptr);
    device->SetStreamSource(0, buffer, 0, 20);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);

    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, 20), D3DERR_INVALIDCALL)
        << "outside BeginScene";
    EXPECT_EQ(device->streamSource(0).buffer, buffer);
    device->BeginScene();
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, 20), D3D_OK);
    device->EndScene();

    ASSERT_TRUE(device->lastDrawUP().has_value());
    const RecordedDrawUP& draw = *device->lastDrawUP();
    EXPECT_EQ(draw.vertexCount, 6u);
    EXPECT_EQ(draw.data.size(), 120u);
    EXPECT_EQ(draw.floatAt(2, 0), 1.0f);
    EXPECT_EQ(draw.floatAt(5, 16), 1.0f);
    EXPECT_EQ(device->streamSource(0).buffer, nullptr);
    EXPECT_EQ(device->streamSource(0).stride, 0u);
    buffer->Release();
}

TEST_F(RecordingDeviceTest, LastOfFvfAndDeclarationWins) {
    const D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    device->CreateVertexDeclaration(elements, &declaration);

    device->SetFVF(D3DFVF_XYZ);
    device->SetVertexDeclaration(declaration);
    EXPECT_EQ(device->currentDeclaration(), declaration);
    EXPECT_EQ(device->currentFVF(), 0u);
    device->SetFVF(0);
    EXPECT_EQ(device->currentDeclaration(), declaration) << "SetFVF(0) changes nothing";
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    EXPECT_EQ(device->currentDeclaration(), nullptr);
    EXPECT_EQ(device->currentFVF(), D3DFVF_XYZ | D3DFVF_DIFFUSE);
    declaration->Release();
}

TEST_F(RecordingDeviceTest, IndexedDrawsNeedTheirBuffersAndStayInRange) {
    const D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {1, 0, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
        D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    IDirect3DVertexBuffer9* positions = nullptr;
    IDirect3DVertexBuffer9* uvs = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    device->CreateVertexDeclaration(elements, &declaration);
    device->CreateVertexBuffer(4 * 12, 0, 0, D3DPOOL_SYSTEMMEM, &positions, nullptr);
    device->CreateVertexBuffer(4 * 8, 0, 0, D3DPOOL_SYSTEMMEM, &uvs, nullptr);
    device->CreateIndexBuffer(6 * 2, 0, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM, &indices, nullptr);

    device->BeginScene();
    device->SetVertexDeclaration(declaration);
    device->SetIndices(indices);
    device->SetStreamSource(0, positions, 0, 12);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL)
        << "stream 1 of the declaration is unbound";
    device->SetStreamSource(1, uvs, 0, 8);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 2), D3DERR_INVALIDCALL)
        << "reads past the last index";
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 0), D3D_OK);
    device->SetIndices(nullptr);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    device->EndScene();

    declaration->Release();
    positions->Release();
    uvs->Release();
    indices->Release();
}

TEST_F(RecordingDeviceTest, ProgramConstantsAreKeptByUniformName) {
    IDirect3DProgram9* first = nullptr;
    IDirect3DProgram9* second = nullptr;
    ASSERT_EQ(device->CreateProgram("void main() {}", "void main() {}", &first), D3D_OK);
    device->CreateProgram("vs", "fs", &second);
    EXPECT_EQ(static_cast<RecordingProgram*>(first)->vertexSource(), "void main() {}");
    device->markOptimisedOut("unused");

    const INT power = first->GetUniformLocation("power");
    EXPECT_GE(power, 0);
    EXPECT_EQ(first->GetUniformLocation("power"), power);
    const INT color = first->GetUniformLocation("material.ambient");
    EXPECT_NE(color, power);
    EXPECT_EQ(first->GetUniformLocation("unused"), -1);
    const INT otherPower = second->GetUniformLocation("power");
    EXPECT_NE(otherPower, power) << "locations of different programs never alias";

    const float half = 0.5f;
    EXPECT_EQ(device->SetProgramConstantF(power, &half, D3DPCS_SCALAR, 1), D3DERR_INVALIDCALL)
        << "no program is current";
    device->SetProgram(first);
    EXPECT_EQ(device->SetProgramConstantF(power, &half, D3DPCS_SCALAR, 1), D3D_OK);
    const float ambient[4] = {0.1f, 0.2f, 0.3f, 1.0f};
    device->SetProgramConstantF(color, ambient, D3DPCS_VEC4, 1);
    EXPECT_EQ(device->SetProgramConstantF(-1, &half, D3DPCS_SCALAR, 1), D3D_OK);
    EXPECT_EQ(device->SetProgramConstantF(otherPower, &half, D3DPCS_SCALAR, 1), D3DERR_INVALIDCALL);
    const INT flags[2] = {1, 0};
    device->SetProgramConstantI(first->GetUniformLocation("lightOn"), flags, D3DPCS_SCALAR, 2);

    EXPECT_EQ(device->programConstantF("power"), std::vector<float>{0.5f});
    EXPECT_EQ(device->programConstantF("material.ambient"),
              (std::vector<float>{0.1f, 0.2f, 0.3f, 1.0f}));
    EXPECT_EQ(device->programConstantI("lightOn"), (std::vector<INT>{1, 0}));
    EXPECT_EQ(static_cast<RecordingProgram*>(first)->constantF("power"), std::vector<float>{0.5f});
    EXPECT_FALSE(static_cast<RecordingProgram*>(second)->constantF("power").has_value());
    EXPECT_THAT(device->callsStartingWith("SetProgramConstant"),
                ElementsAre("SetProgramConstantF(" + std::to_string(power) +
                                " (prog#1 \"power\"), scalar, 0.5) -> D3DERR_INVALIDCALL",
                            "SetProgramConstantF(\"power\", scalar, 0.5)",
                            "SetProgramConstantF(\"material.ambient\", vec4, 0.1, 0.2, 0.3, 1)",
                            "SetProgramConstantF(-1, scalar, 0.5)",
                            "SetProgramConstantF(" + std::to_string(otherPower) +
                                " (prog#2 \"power\"), scalar, 0.5) -> D3DERR_INVALIDCALL",
                            "SetProgramConstantI(\"lightOn\", scalar x2, 1, 0)"));

    IDirect3DProgram9* current = nullptr;
    device->GetProgram(&current);
    EXPECT_EQ(current, first);
    current->Release();
    device->SetProgram(nullptr);
    first->Release();
    second->Release();
}

}  // namespace
