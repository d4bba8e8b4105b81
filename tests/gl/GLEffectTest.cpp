// Effects on the OpenGL device: pass states and their restoration at End, struct and array
// parameters reaching the program, samplers bound by name with their declared states, and
// values set inside a pass reaching the GPU only at CommitChanges. Every quad is drawn the way
// the render utilities draw theirs: DrawPrimitiveUP with FVF XYZ|TEX1.
#include <fstream>
#include <iterator>
#include <string>

#include "platform/d3dx9/d3dx9.h"
#include "tests/gl/GLDeviceFixture.h"

namespace {

struct QuadVertex {
    float x, y, z, u, v;
};

// Clockwise on screen: front-facing for Direct3D.
constexpr QuadVertex kClockwise[6] = {{-1, -1, 0.5f, 0, 1}, {-1, 1, 0.5f, 0, 0},
                                      {1, 1, 0.5f, 1, 0},   {1, 1, 0.5f, 1, 0},
                                      {1, -1, 0.5f, 1, 1},  {-1, -1, 0.5f, 0, 1}};
constexpr QuadVertex kCounterClockwise[6] = {{-1, -1, 0.5f, 0, 1}, {1, -1, 0.5f, 1, 1},
                                             {1, 1, 0.5f, 1, 0},   {1, 1, 0.5f, 1, 0},
                                             {-1, 1, 0.5f, 0, 0},  {-1, -1, 0.5f, 0, 1}};
constexpr DWORD kQuadFvf = D3DFVF_XYZ | D3DFVF_TEX1;

class GLEffectTest : public GLDeviceFixture {
protected:
    void TearDown() override {
        if (effect_ != nullptr) {
            effect_->Release();
        }
        GLDeviceFixture::TearDown();
    }

    void load(const char* name) {
        const std::string path = std::string(KELVO_TEST_EFFECT_DIR) + "/" + name;
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << path;
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        ASSERT_EQ(D3DXCreateEffect(device_, text.data(), static_cast<UINT>(text.size()), nullptr,
                                   nullptr, 0, nullptr, &effect_, nullptr),
                  D3D_OK);
    }

    void drawQuad(const QuadVertex (&quad)[6] = kClockwise) {
        ASSERT_EQ(device_->SetFVF(kQuadFvf), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(QuadVertex)),
                  D3D_OK);
    }

    DWORD renderState(D3DRENDERSTATETYPE state) {
        DWORD value = 0;
        EXPECT_EQ(device_->GetRenderState(state, &value), D3D_OK);
        return value;
    }

    void setViewport(DWORD x, DWORD width) {
        const D3DVIEWPORT9 viewport{x, 0, width, kHeight, 0.0f, 1.0f};
        ASSERT_EQ(device_->SetViewport(&viewport), D3D_OK);
    }

    ID3DXEffect* effect_ = nullptr;
};

D3DXMATRIX identity() {
    D3DXMATRIX m{};
    for (int i = 0; i < 4; ++i) {
        m.m[i][i] = 1.0f;
    }
    return m;
}

TEST_F(GLEffectTest, PassesSetTheirStatesAndEndRestoresThem) {
    load("gl_states.fxo");
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER,
                             D3DCOLOR_ARGB(255, 0x20, 0x20, 0x20), 1.0f, 0),
              D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    UINT passes = 0;
    ASSERT_EQ(effect_->Begin(&passes, 0), D3D_OK);
    ASSERT_EQ(passes, 2u);

    // Pass 0: additive blending, no culling (the back-facing quad is drawn), no depth writes.
    ASSERT_EQ(effect_->BeginPass(0), D3D_OK);
    EXPECT_EQ(renderState(D3DRS_ALPHABLENDENABLE), TRUE);
    EXPECT_EQ(renderState(D3DRS_CULLMODE), DWORD{D3DCULL_NONE});
    drawQuad(kCounterClockwise);
    ASSERT_EQ(effect_->EndPass(), D3D_OK);
    EXPECT_TRUE(near(backBufferPixel(8, 8), D3DCOLOR_ARGB(255, 0x60, 0x20, 0x20)))
        << std::hex << backBufferPixel(8, 8);

    // Pass 1 culls clockwise faces and keeps pass 0's blending, which it does not set.
    ASSERT_EQ(effect_->BeginPass(1), D3D_OK);
    drawQuad(kClockwise);
    EXPECT_TRUE(near(backBufferPixel(8, 8), D3DCOLOR_ARGB(255, 0x60, 0x20, 0x20)));
    drawQuad(kCounterClockwise);
    EXPECT_TRUE(near(backBufferPixel(8, 8), D3DCOLOR_ARGB(255, 0x60, 0x60, 0x20)));
    ASSERT_EQ(effect_->EndPass(), D3D_OK);
    ASSERT_EQ(effect_->End(), D3D_OK);

    EXPECT_EQ(renderState(D3DRS_ALPHABLENDENABLE), FALSE);
    EXPECT_EQ(renderState(D3DRS_SRCBLEND), DWORD{D3DBLEND_ONE});
    EXPECT_EQ(renderState(D3DRS_DESTBLEND), DWORD{D3DBLEND_ZERO});
    EXPECT_EQ(renderState(D3DRS_CULLMODE), DWORD{D3DCULL_CCW});
    EXPECT_EQ(renderState(D3DRS_ZWRITEENABLE), TRUE);
    IDirect3DProgram9* program = nullptr;
    ASSERT_EQ(device_->GetProgram(&program), D3D_OK);
    EXPECT_EQ(program, nullptr);

    // The restored states act on the GPU too: fixed function, counter-clockwise culled, an
    // opaque (unblended) black quad behind depth 1.0, which pass 0 did not overwrite.
    drawQuad(kCounterClockwise);
    EXPECT_TRUE(near(backBufferPixel(8, 8), D3DCOLOR_ARGB(255, 0x60, 0x60, 0x20)));
    QuadVertex deeper[6];
    for (int i = 0; i < 6; ++i) {
        deeper[i] = kClockwise[i];
        deeper[i].z = 0.9f;
    }
    drawQuad(deeper);
    EXPECT_TRUE(near(backBufferPixel(8, 8), D3DCOLOR_ARGB(0, 0, 0, 0)))
        << std::hex << backBufferPixel(8, 8);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
}

TEST_F(GLEffectTest, StructAndArrayElementsReachTheProgramByTheirFullNames) {
    load("gl_parameters.fxo");
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(255, 0, 0, 0), 1.0f, 0),
              D3D_OK);
    // Element 12 moves the quad, shrunk to a quarter, into the top-right corner.
    D3DXMATRIX palette12 = identity();
    palette12.m[0][0] = palette12.m[1][1] = 0.5f;
    palette12.m[3][0] = palette12.m[3][1] = 0.5f;
    D3DXMATRIX scrambled = identity();
    scrambled.m[3][0] = -0.5f;
    const D3DXVECTOR4 ambient{0.5f, 0.0f, 0.0f, 0.5f};
    const D3DXVECTOR4 light2{0.0f, 0.5f, 0.0f, 0.5f};
    const D3DXVECTOR4 light1{0.0f, 0.0f, 1.0f, 1.0f};
    ASSERT_EQ(effect_->SetMatrix("matrixPalette[11]", &scrambled), D3D_OK);
    ASSERT_EQ(effect_->SetMatrix("matrixPalette[12]", &palette12), D3D_OK);
    ASSERT_EQ(effect_->SetMatrix("matrixPalette[13]", &scrambled), D3D_OK);
    ASSERT_EQ(effect_->SetVector("material.ambient", &ambient), D3D_OK);
    ASSERT_EQ(effect_->SetVector("pointLight[2].color", &light2), D3D_OK);
    ASSERT_EQ(effect_->SetVector("pointLight[1].color", &light1), D3D_OK);
    ASSERT_EQ(effect_->SetBool("useLight", TRUE), D3D_OK);

    // Names the effect does not declare fail and change nothing.
    const D3DXVECTOR4 white{1, 1, 1, 1};
    EXPECT_EQ(effect_->SetVector("material.specular", &white), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect_->SetVector("pointLight[4].color", &white), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect_->SetMatrix("matrixPalette[16]", &scrambled), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect_->SetFloat("undeclared", 1.0f), D3DERR_INVALIDCALL);

    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(effect_->Begin(nullptr, 0), D3D_OK);
    ASSERT_EQ(effect_->BeginPass(0), D3D_OK);
    drawQuad();
    ASSERT_EQ(effect_->EndPass(), D3D_OK);
    ASSERT_EQ(effect_->End(), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);

    const auto pixels = readBackBuffer();
    EXPECT_TRUE(near(pixels[8 * kWidth + 56], D3DCOLOR_ARGB(255, 0x80, 0x80, 0)))
        << std::hex << pixels[8 * kWidth + 56];
    EXPECT_TRUE(near(pixels[8 * kWidth + 8], D3DCOLOR_ARGB(255, 0, 0, 0)));
    EXPECT_TRUE(near(pixels[56 * kWidth + 56], D3DCOLOR_ARGB(255, 0, 0, 0)));
}

TEST_F(GLEffectTest, ValuesSetInsideAPassReachTheGpuAtCommitChanges) {
    load("gl_parameters.fxo");
    const D3DXMATRIX unit = identity();
    const D3DXVECTOR4 red{1, 0, 0, 1};
    const D3DXVECTOR4 blue{0, 0, 1, 1};
    ASSERT_EQ(effect_->SetMatrix("matrixPalette[12]", &unit), D3D_OK);
    ASSERT_EQ(effect_->SetVector("material.ambient", &red), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(effect_->Begin(nullptr, 0), D3D_OK);
    ASSERT_EQ(effect_->BeginPass(0), D3D_OK);
    setViewport(0, 16);
    drawQuad();
    ASSERT_EQ(effect_->SetVector("material.ambient", &blue), D3D_OK);
    setViewport(16, 16);
    drawQuad();  // still red: nothing committed
    ASSERT_EQ(effect_->CommitChanges(), D3D_OK);
    setViewport(32, 16);
    drawQuad();
    ASSERT_EQ(effect_->EndPass(), D3D_OK);
    ASSERT_EQ(effect_->End(), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);

    const auto pixels = readBackBuffer();
    EXPECT_TRUE(near(pixels[32 * kWidth + 8], D3DCOLOR_ARGB(255, 255, 0, 0)));
    EXPECT_TRUE(near(pixels[32 * kWidth + 24], D3DCOLOR_ARGB(255, 255, 0, 0)));
    EXPECT_TRUE(near(pixels[32 * kWidth + 40], D3DCOLOR_ARGB(255, 0, 0, 255)));
}

TEST_F(GLEffectTest, TextureBoundByNameIsSampledWithTheSamplersDeclaredStates) {
    load("gl_sampler.fxo");
    // Two texels: red on the left, green on the right; the quad reads u from 0 to 2.
    IDirect3DTexture9* texture = makeTexture(2, 1, D3DFMT_A8R8G8B8, 0);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    static_cast<D3DCOLOR*>(locked.pBits)[0] = D3DCOLOR_ARGB(255, 255, 0, 0);
    static_cast<D3DCOLOR*>(locked.pBits)[1] = D3DCOLOR_ARGB(255, 0, 255, 0);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    ASSERT_EQ(effect_->SetTexture("tex", texture), D3D_OK);

    auto draw = [&](const char* technique) {
        EXPECT_EQ(effect_->SetTechnique(technique), D3D_OK);
        EXPECT_EQ(device_->BeginScene(), D3D_OK);
        EXPECT_EQ(effect_->Begin(nullptr, 0), D3D_OK);
        EXPECT_EQ(effect_->BeginPass(0), D3D_OK);
        drawQuad();
        EXPECT_EQ(effect_->EndPass(), D3D_OK);
        EXPECT_EQ(effect_->End(), D3D_OK);
        EXPECT_EQ(device_->EndScene(), D3D_OK);
        return readBackBuffer();
    };
    const auto clamped = draw("Clamp");
    EXPECT_TRUE(near(clamped[32 * kWidth + 4], D3DCOLOR_ARGB(255, 255, 0, 0)));
    EXPECT_TRUE(near(clamped[32 * kWidth + 40], D3DCOLOR_ARGB(255, 0, 255, 0)));
    EXPECT_TRUE(near(clamped[32 * kWidth + 60], D3DCOLOR_ARGB(255, 0, 255, 0)));
    const auto wrapped = draw("Wrap");
    EXPECT_TRUE(near(wrapped[32 * kWidth + 4], D3DCOLOR_ARGB(255, 255, 0, 0)));
    EXPECT_TRUE(near(wrapped[32 * kWidth + 40], D3DCOLOR_ARGB(255, 255, 0, 0)));
    EXPECT_TRUE(near(wrapped[32 * kWidth + 60], D3DCOLOR_ARGB(255, 0, 255, 0)));

    // End put the sampler's states and texture back to what they were before Begin.
    DWORD address = 0;
    ASSERT_EQ(device_->GetSamplerState(0, D3DSAMP_ADDRESSU, &address), D3D_OK);
    EXPECT_EQ(address, DWORD{D3DTADDRESS_WRAP});
    IDirect3DBaseTexture9* bound = texture;
    ASSERT_EQ(device_->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, nullptr);
    texture->Release();
}

TEST_F(GLEffectTest, RenderUtilityQuadDeliversTexCoord0AtLocation6) {
    load("gl_sampler.fxo");
    ASSERT_EQ(effect_->SetTechnique("TexCoord"), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(effect_->Begin(nullptr, 0), D3D_OK);
    ASSERT_EQ(effect_->BeginPass(0), D3D_OK);
    ASSERT_EQ(device_->SetFVF(0x102), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kClockwise, sizeof(QuadVertex)),
              D3D_OK);
    ASSERT_EQ(effect_->EndPass(), D3D_OK);
    ASSERT_EQ(effect_->End(), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const auto pixels = readBackBuffer();
    // u grows to the right, v downwards: (0, 0) at the top-left texel, (1, 1) at the bottom-right.
    EXPECT_TRUE(near(pixels[0], D3DCOLOR_ARGB(255, 2, 2, 0), 3)) << std::hex << pixels[0];
    EXPECT_TRUE(near(pixels[63 * kWidth + 63], D3DCOLOR_ARGB(255, 253, 253, 0), 3));
    EXPECT_TRUE(near(pixels[63 * kWidth], D3DCOLOR_ARGB(255, 2, 253, 0), 3));
}

}  // namespace
