// Places where GL's own behaviour differs from Direct3D's and the device has to make up the
// difference: destination alpha of a target without alpha, and GL errors that must not outlive
// the call that caused them.
#include "tests/gl/GLDeviceFixture.h"

namespace {

const float kQuad[6][5] = {{-1, -1, 0, 0, 1}, {-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0},
                           {1, 1, 0, 1, 0},   {1, -1, 0, 1, 1}, {-1, -1, 0, 0, 1}};

using GLDeviceRobustnessTest = GLDeviceFixture;

// An X8R8G8B8 target has no alpha: Direct3D reads its destination alpha as one, whatever the
// clear colour's alpha byte was.
TEST_F(GLDeviceRobustnessTest, TargetWithoutAlphaBlendsWithDestinationAlphaOne) {
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(device_->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8,
                                     D3DPOOL_DEFAULT, &target, nullptr),
              D3D_OK);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &surface), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, surface), D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(0, 0, 0, 0x80), 1.0f, 0),
              D3D_OK);
    // A white factor colour, weighted by the destination's alpha.
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
    device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVDESTALPHA);
    ASSERT_EQ(device_->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kQuad, 20), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const D3DCOLOR c = pixel(surface, 8, 8);
    EXPECT_EQ(c, 0xFFFFFFFFu) << std::hex << c;

    // The same blend into an A8R8G8B8 target reads the stored alpha (0): the clear colour stays.
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, back), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(0, 0, 0, 0x80), 1.0f, 0),
              D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kQuad, 20), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(pixel(back, 8, 8), D3DCOLOR_ARGB(0, 0, 0, 0x80));

    back->Release();
    surface->Release();
    target->Release();
}

// A constant set with the wrong shape is a GL error inside SetProgramConstantF; the calls
// after it that check for GL errors must not take it for their own.
TEST_F(GLDeviceRobustnessTest, GLErrorOfOneCallDoesNotFailTheNext) {
    IDirect3DProgram9* program = makeProgram(R"(#version 450 core
layout(location = 0) in vec3 position;
void main() { gl_Position = vec4(position, 1.0); }
)",
                                             R"(#version 450 core
uniform vec4 tint;
out vec4 color;
void main() { color = tint; }
)");
    ASSERT_NE(program, nullptr);
    ASSERT_EQ(device_->SetProgram(program), D3D_OK);
    const float one[16] = {1, 1, 1, 1};
    device_->SetProgramConstantF(program->GetUniformLocation("tint"), one, D3DPCS_MATRIX4X4, 1);

    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(
        device_->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
        D3D_OK);
    ASSERT_NE(texture, nullptr);
    device_->SetProgramConstantF(program->GetUniformLocation("tint"), one, D3DPCS_MATRIX4X4, 1);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    device_->SetProgramConstantF(program->GetUniformLocation("tint"), one, D3DPCS_MATRIX4X4, 1);
    IDirect3DVertexBuffer9* buffer = nullptr;
    EXPECT_EQ(device_->CreateVertexBuffer(64, 0, 0, D3DPOOL_SYSTEMMEM, &buffer, nullptr), D3D_OK);
    device_->SetProgramConstantF(program->GetUniformLocation("tint"), one, D3DPCS_MATRIX4X4, 1);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    device_->SetProgramConstantF(program->GetUniformLocation("tint"), one, D3DPCS_MATRIX4X4, 1);
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    IDirect3DSurface9* copy = nullptr;
    ASSERT_EQ(device_->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_A8R8G8B8,
                                                   D3DPOOL_SYSTEMMEM, &copy, nullptr),
              D3D_OK);
    device_->SetProgramConstantF(program->GetUniformLocation("tint"), one, D3DPCS_MATRIX4X4, 1);
    EXPECT_EQ(device_->GetRenderTargetData(back, copy), D3D_OK);

    device_->SetProgram(nullptr);
    copy->Release();
    back->Release();
    if (buffer != nullptr) {
        buffer->Release();
    }
    texture->Release();
    program->Release();
}

}  // namespace
