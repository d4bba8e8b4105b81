// The OpenGL device's pictures: clears, render-target nesting, the render utilities' two
// fixed-function quads, depth and culling, read back through GetRenderTargetData.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include "platform/d3d9/gl/GLSurface.h"
#include "tests/gl/GLDeviceFixture.h"

namespace {

struct QuadVertex {
    float x, y, z, u, v;
};

// The render utilities' full-screen quad: two clockwise triangles covering the viewport.
constexpr QuadVertex kQuad[6] = {{-1, -1, 0, 0, 1}, {-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0},
                                 {1, 1, 0, 1, 0},   {1, -1, 0, 1, 1}, {-1, -1, 0, 0, 1}};

// Draws only happen inside a scene: the quad opens one unless the caller already has.
void drawQuad(IDirect3DDevice9* device, const QuadVertex* quad = kQuad) {
    const bool opened = SUCCEEDED(device->BeginScene());
    ASSERT_EQ(device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1), D3D_OK);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(QuadVertex)), D3D_OK);
    if (opened) {
        ASSERT_EQ(device->EndScene(), D3D_OK);
    }
}

// Depth (as 0..1) and stencil of one pixel of a depth-stencil surface, read with OpenGL since
// the Direct3D interface cannot read them. Row 0 is the top row, as for colour surfaces.
struct DepthStencil {
    float depth;
    int stencil;
};

std::vector<DepthStencil> readDepthStencil(IDirect3DSurface9* surface, UINT width, UINT height) {
    GLuint framebuffer = 0;
    glCreateFramebuffers(1, &framebuffer);
    glNamedFramebufferRenderbuffer(framebuffer, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                   static_cast<GLSurface*>(surface)->name());
    GLint previous = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    std::vector<std::uint32_t> packed(std::size_t{width} * height);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_DEPTH_STENCIL,
                 GL_UNSIGNED_INT_24_8, packed.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previous));
    glDeleteFramebuffers(1, &framebuffer);
    std::vector<DepthStencil> values;
    for (std::uint32_t p : packed) {
        values.push_back({static_cast<float>(p >> 8) / 16777215.0f, static_cast<int>(p & 0xFF)});
    }
    return values;
}

std::string hex(D3DCOLOR c) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", c);
    return text;
}

}  // namespace

using GLDeviceTest = GLDeviceFixture;

TEST_F(GLDeviceTest, ClearTouchesOnlyTheViewportAndEveryBoundTarget) {
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0), D3D_OK);
    const D3DVIEWPORT9 box{8, 16, 20, 10, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&box), D3D_OK);
    // Write masks must not hold back a clear.
    device_->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
    device_->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF102030u, 1.0f, 0),
              D3D_OK);
    EXPECT_EQ(hex(backBufferPixel(8, 16)), "FF102030");
    EXPECT_EQ(hex(backBufferPixel(27, 25)), "FF102030");
    EXPECT_EQ(hex(backBufferPixel(7, 16)), "FF000000");
    EXPECT_EQ(hex(backBufferPixel(28, 25)), "FF000000");
    EXPECT_EQ(hex(backBufferPixel(8, 26)), "FF000000");

    // Rectangles are clipped to the viewport.
    const D3DRECT rect{0, 0, 10, 18};
    ASSERT_EQ(device_->Clear(1, &rect, D3DCLEAR_TARGET, 0xFFFFFFFFu, 1.0f, 0), D3D_OK);
    EXPECT_EQ(hex(backBufferPixel(9, 17)), "FFFFFFFF");
    EXPECT_EQ(hex(backBufferPixel(10, 17)), "FF102030");
    EXPECT_EQ(hex(backBufferPixel(5, 5)), "FF000000");

    // With two targets bound, both are cleared.
    IDirect3DTexture9* second = makeRenderTarget(kWidth, kHeight);
    IDirect3DSurface9* secondSurface = nullptr;
    second->GetSurfaceLevel(0, &secondSurface);
    ASSERT_EQ(device_->SetRenderTarget(1, secondSurface), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x80406080u, 1.0f, 0), D3D_OK);
    EXPECT_EQ(hex(pixel(secondSurface, 10, 20)), "80406080");
    EXPECT_EQ(hex(pixel(secondSurface, 0, 0)), "00000000");
    EXPECT_EQ(hex(backBufferPixel(10, 20)), "80406080");
    device_->SetRenderTarget(1, nullptr);
    secondSurface->Release();
    second->Release();
}

TEST_F(GLDeviceTest, ClearOfDepthWithoutADepthSurfaceFails) {
    ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    IDirect3DSurface9* none = nullptr;
    EXPECT_EQ(device_->GetDepthStencilSurface(&none), D3DERR_NOTFOUND);
    EXPECT_EQ(none, nullptr);
}

// The device writes depth and stencil together where it knows the stencil's value; each clear
// must still leave the other buffer as Direct3D would.
TEST_F(GLDeviceTest, DepthAndStencilClearsKeepEachOther) {
    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device_->CreateDepthStencilSurface(kWidth, kHeight, D3DFMT_D24S8, D3DMULTISAMPLE_NONE,
                                                 0, TRUE, &depth, nullptr),
              D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(depth), D3D_OK);
    const D3DRECT corner{0, 0, 16, 16};
    auto at = [&](UINT x, UINT y) {
        return readDepthStencil(depth, kWidth, kHeight)[y * kWidth + x];
    };

    // A new surface: depth 1, stencil 0.
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    EXPECT_FLOAT_EQ(at(40, 40).depth, 1.0f);
    EXPECT_EQ(at(40, 40).stencil, 0);

    // Stencil everywhere, then depth in a corner only.
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 7), D3D_OK);
    ASSERT_EQ(device_->Clear(1, &corner, D3DCLEAR_ZBUFFER, 0, 0.25f, 0), D3D_OK);
    EXPECT_NEAR(at(4, 4).depth, 0.25f, 1e-6f);
    EXPECT_FLOAT_EQ(at(40, 40).depth, 1.0f);
    EXPECT_EQ(at(4, 4).stencil, 7);
    EXPECT_EQ(at(40, 40).stencil, 7);

    // Stencil in the corner only: a later depth clear must keep both stencil values.
    ASSERT_EQ(device_->Clear(1, &corner, D3DCLEAR_STENCIL, 0, 1.0f, 3), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 0.5f, 0), D3D_OK);
    EXPECT_NEAR(at(40, 40).depth, 0.5f, 1e-6f);
    EXPECT_EQ(at(4, 4).stencil, 3);
    EXPECT_EQ(at(40, 40).stencil, 7);

    // Stencil again everywhere, to the value the corner already holds; a stencil-only clear keeps
    // the depth.
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 3), D3D_OK);
    EXPECT_EQ(at(40, 40).stencil, 3);
    EXPECT_NEAR(at(40, 40).depth, 0.5f, 1e-6f);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 0.75f, 3), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 3), D3D_OK);
    EXPECT_NEAR(at(40, 40).depth, 0.75f, 1e-6f);
    EXPECT_EQ(at(4, 4).stencil, 3);
    depth->Release();
}

// The device skips a clear to the colour or depth a surface is known to hold everywhere; a draw
// in between must make the next clear to that same value happen again.
TEST_F(GLDeviceTest, AClearToThePreviousValueAfterADrawClearsAgain) {
    IDirect3DTexture9* red = makeTexture(1, 1, D3DFMT_A8R8G8B8, 0xFFFF0000u);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTexture(0, red);
    QuadVertex nearQuad[6];
    for (int i = 0; i < 6; ++i) {
        nearQuad[i] = kQuad[i];
        nearQuad[i].z = 0.25f;
    }
    const D3DVIEWPORT9 whole{0, 0, kWidth, kHeight, 0.0f, 1.0f};
    const D3DVIEWPORT9 top{0, 0, kWidth, kHeight - 1, 0.0f, 1.0f};
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(device_->SetViewport(&whole), D3D_OK);
        ASSERT_EQ(
            device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0),
            D3D_OK);
        // The letterbox's pattern: a whole clear, then the picture's viewport cleared again.
        ASSERT_EQ(device_->SetViewport(&top), D3D_OK);
        ASSERT_EQ(
            device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0),
            D3D_OK);
        EXPECT_EQ(hex(backBufferPixel(10, 10)), "FF000000") << "round " << round;
        // A farther quad passes the depth test only if the depth was cleared again.
        QuadVertex farQuad[6];
        for (int i = 0; i < 6; ++i) {
            farQuad[i] = kQuad[i];
            farQuad[i].z = 0.75f;
        }
        drawQuad(device_, round == 0 ? nearQuad : farQuad);
        EXPECT_EQ(hex(backBufferPixel(10, 10)), "FFFF0000") << "round " << round;
    }
    device_->SetTexture(0, nullptr);
    red->Release();
}

TEST_F(GLDeviceTest, NestedRenderTargetBindsRestoreSurfaceDepthAndViewport) {
    IDirect3DTexture9* outer = makeRenderTarget(32, 32);
    IDirect3DTexture9* inner = makeRenderTarget(16, 8);
    IDirect3DSurface9 *outerSurface = nullptr, *innerSurface = nullptr;
    outer->GetSurfaceLevel(0, &outerSurface);
    inner->GetSurfaceLevel(0, &innerSurface);
    IDirect3DSurface9 *outerDepth = nullptr, *innerDepth = nullptr;
    ASSERT_EQ(device_->CreateDepthStencilSurface(32, 32, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE,
                                                 &outerDepth, nullptr),
              D3D_OK);
    ASSERT_EQ(device_->CreateDepthStencilSurface(16, 8, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE,
                                                 &innerDepth, nullptr),
              D3D_OK);

    // The binding protocol of render targets: save, set, draw, restore.
    IDirect3DSurface9 *savedBack = nullptr, *savedBackDepth = nullptr;
    device_->GetRenderTarget(0, &savedBack);
    device_->GetDepthStencilSurface(&savedBackDepth);
    ASSERT_EQ(device_->SetRenderTarget(0, outerSurface), D3D_OK);
    device_->SetDepthStencilSurface(outerDepth);
    D3DVIEWPORT9 vp{};
    device_->GetViewport(&vp);
    EXPECT_EQ(vp.Width, 32u);
    EXPECT_EQ(vp.Height, 32u);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FFu, 1.0f, 0);

    IDirect3DSurface9 *savedOuter = nullptr, *savedOuterDepth = nullptr;
    device_->GetRenderTarget(0, &savedOuter);
    device_->GetDepthStencilSurface(&savedOuterDepth);
    ASSERT_EQ(device_->SetRenderTarget(0, innerSurface), D3D_OK);
    device_->SetDepthStencilSurface(innerDepth);
    device_->GetViewport(&vp);
    EXPECT_EQ(vp.Width, 16u);
    EXPECT_EQ(vp.Height, 8u);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF00FF00u, 1.0f, 0);

    device_->SetRenderTarget(0, savedOuter);
    device_->SetDepthStencilSurface(savedOuterDepth);
    const D3DVIEWPORT9 corner{0, 0, 8, 8, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&corner), D3D_OK);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000u, 1.0f, 0);
    savedOuter->Release();
    savedOuterDepth->Release();

    device_->SetRenderTarget(0, savedBack);
    device_->SetDepthStencilSurface(savedBackDepth);
    device_->GetViewport(&vp);
    EXPECT_EQ(vp.Width, kWidth);
    savedBack->Release();
    savedBackDepth->Release();

    EXPECT_EQ(hex(pixel(innerSurface, 15, 7)), "FF00FF00");
    EXPECT_EQ(hex(pixel(outerSurface, 7, 7)), "FFFF0000");
    EXPECT_EQ(hex(pixel(outerSurface, 20, 20)), "FF0000FF");

    // A viewport larger than the bound target is refused.
    const D3DVIEWPORT9 tooLarge{0, 0, kWidth + 1, kHeight, 0.0f, 1.0f};
    EXPECT_EQ(device_->SetViewport(&tooLarge), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetRenderTarget(0, nullptr), D3DERR_INVALIDCALL);

    innerDepth->Release();
    outerDepth->Release();
    innerSurface->Release();
    outerSurface->Release();
    inner->Release();
    outer->Release();
}

// drawFullscreenQuad with a texture: colour SELECTARG1(TEXTURE), alpha MODULATE(TFACTOR,
// TEXTURE), blended SRCALPHA / INVSRCALPHA over the target.
TEST_F(GLDeviceTest, TexturedQuadWithFactorAlphaBlendsTheTextureOverTheTarget) {
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FFu, 1.0f, 0);
    IDirect3DTexture9* texture = makeTexture(4, 4, D3DFMT_A8R8G8B8, 0xFFFF8000u);
    device_->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device_->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device_->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 127u << 24);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
    device_->SetTexture(0, texture);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device_->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    drawQuad(device_);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    // 127/255 of orange over blue; alpha blends with the same factors: 0.498² + 0.502 × 1.
    const D3DCOLOR c = backBufferPixel(32, 32);
    EXPECT_TRUE(near(c, 0xBF7F4080u)) << hex(c);
    EXPECT_TRUE(near(backBufferPixel(0, 0), c));
    EXPECT_TRUE(near(backBufferPixel(63, 63), c));
    device_->SetTexture(0, nullptr);
    texture->Release();
}

// drawQuadWithView: COLOROP ADD of the texture and the lit default colour, which is
// (0, 0, 0, 0) with lighting on and the all-zero material, so the texture shows unchanged.
TEST_F(GLDeviceTest, AddedTextureOverTheLitDefaultColourIsTheTexture) {
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    IDirect3DTexture9* texture = makeTexture(2, 2, D3DFMT_A8R8G8B8, 0xC0336699u);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTexture(0, texture);
    D3DMATRIX identity{};
    for (int i = 0; i < 4; ++i) {
        identity.m[i][i] = 1.0f;
    }
    // A view that moves the quad right by half the screen.
    D3DMATRIX view = identity;
    view.m[3][0] = 1.0f;
    device_->SetTransform(D3DTS_PROJECTION, &identity);
    device_->SetTransform(D3DTS_VIEW, &view);
    device_->SetTransform(D3DTS_WORLD, &identity);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    drawQuad(device_);
    EXPECT_EQ(hex(backBufferPixel(48, 32)), "C0336699");
    EXPECT_EQ(hex(backBufferPixel(16, 32)), "FF000000");

    // With lighting off the diffuse colour is white and ADD saturates.
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    drawQuad(device_);
    EXPECT_EQ(hex(backBufferPixel(48, 32)), "C0FFFFFF");

    // An L8 texture reads as grey with opaque alpha.
    IDirect3DTexture9* grey = makeTexture(2, 2, D3DFMT_L8, 0x40);
    device_->SetRenderState(D3DRS_LIGHTING, TRUE);
    device_->SetTexture(0, grey);
    drawQuad(device_);
    EXPECT_EQ(hex(backBufferPixel(48, 32)), "FF404040");

    // Without a texture the stage is disabled and the lit colour (0,0,0,0) is drawn.
    device_->SetTexture(0, nullptr);
    drawQuad(device_);
    EXPECT_EQ(hex(backBufferPixel(48, 32)), "00000000");
    grey->Release();
    texture->Release();
}

TEST_F(GLDeviceTest, DepthTestAndDepthWritesFollowTheRenderStates) {
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    IDirect3DTexture9* red = makeTexture(1, 1, D3DFMT_A8R8G8B8, 0xFFFF0000u);
    IDirect3DTexture9* green = makeTexture(1, 1, D3DFMT_A8R8G8B8, 0xFF00FF00u);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    QuadVertex nearQuad[6], farQuad[6];
    for (int i = 0; i < 6; ++i) {
        nearQuad[i] = kQuad[i];
        nearQuad[i].z = 0.25f;
        farQuad[i] = kQuad[i];
        farQuad[i].z = 0.75f;
    }
    // Near red first, then far green: the default LESSEQUAL test keeps red.
    device_->SetTexture(0, red);
    drawQuad(device_, nearQuad);
    device_->SetTexture(0, green);
    drawQuad(device_, farQuad);
    EXPECT_EQ(hex(backBufferPixel(10, 10)), "FFFF0000");

    // Without depth writes the near quad leaves the depth buffer as it was.
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    device_->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device_->SetTexture(0, red);
    drawQuad(device_, nearQuad);
    device_->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device_->SetTexture(0, green);
    drawQuad(device_, farQuad);
    EXPECT_EQ(hex(backBufferPixel(10, 10)), "FF00FF00");

    // With the depth test off the later quad always wins.
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device_->SetTexture(0, red);
    drawQuad(device_, farQuad);
    EXPECT_EQ(hex(backBufferPixel(10, 10)), "FFFF0000");
    device_->SetTexture(0, nullptr);
    red->Release();
    green->Release();
}

TEST_F(GLDeviceTest, CullingTreatsClockwiseTrianglesAsFrontFaces) {
    IDirect3DTexture9* white = makeTexture(1, 1, D3DFMT_A8R8G8B8, 0xFFFFFFFFu);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTexture(0, white);
    // The quad is clockwise on screen; the same quad mirrored in x is counter-clockwise.
    QuadVertex mirrored[6];
    for (int i = 0; i < 6; ++i) {
        mirrored[i] = kQuad[i];
        mirrored[i].x = -kQuad[i].x;
    }
    struct Case {
        DWORD cull;
        bool clockwiseDrawn;
        bool counterClockwiseDrawn;
    };
    for (const Case& c : {Case{D3DCULL_CCW, true, false}, Case{D3DCULL_CW, false, true},
                          Case{D3DCULL_NONE, true, true}}) {
        device_->SetRenderState(D3DRS_CULLMODE, c.cull);
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        drawQuad(device_);
        EXPECT_EQ(backBufferPixel(32, 32) == 0xFFFFFFFFu, c.clockwiseDrawn) << c.cull;
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        drawQuad(device_, mirrored);
        EXPECT_EQ(backBufferPixel(32, 32) == 0xFFFFFFFFu, c.counterClockwiseDrawn) << c.cull;
    }
    device_->SetTexture(0, nullptr);
    white->Release();
}

TEST_F(GLDeviceTest, ScenesDoNotNestAndDrawsFromMemoryUnbindStreamZero) {
    EXPECT_EQ(device_->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->EndScene(), D3D_OK);

    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(120, 0, 0, D3DPOOL_SYSTEMMEM, &buffer, nullptr), D3D_OK);
    device_->SetStreamSource(0, buffer, 0, 20);
    buffer->Release();  // the stream still holds it
    drawQuad(device_);
    // Stream 0 is empty now, so an indexed draw has nothing to read.
    IDirect3DIndexBuffer9* indices = nullptr;
    device_->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM, &indices, nullptr);
    device_->SetIndices(indices);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 6, 0, 2), D3DERR_INVALIDCALL);
    device_->SetIndices(nullptr);
    indices->Release();
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kQuad, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
}
