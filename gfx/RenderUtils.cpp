#include "gfx/RenderUtils.h"

#include <array>

#include "gfx/GraphicsContext.h"
#include "gfx/HrCheck.h"
#include "gfx/QuadVertex.h"
#include "gfx/TShader.h"
#include "gfx/ViewportStack.h"

namespace kelvo {

namespace {

constexpr const char* kSource = "gfx/RenderUtils";
// The lines the utilities' failure reports name: the clears, the full-screen quad's states and
// draw, then the quad drawn with a view.
constexpr int kClearColorAndDepthLine = 14;
constexpr int kClearDepthLine = 19;
constexpr int kQuadZWriteOffLine = 50;
constexpr int kQuadSrcBlendLine = 52;
constexpr int kQuadDestBlendLine = 53;
constexpr int kQuadBlendOpLine = 54;
constexpr int kQuadAlphaBlendLine = 55;
constexpr int kQuadAddressULine = 57;
constexpr int kQuadAddressVLine = 58;
constexpr int kQuadAlphaSelectLine = 60;
constexpr int kQuadAlphaFactorLine = 61;
constexpr int kQuadTextureFactorLine = 67;
constexpr int kQuadColorSelectLine = 71;
constexpr int kQuadColorTextureLine = 72;
constexpr int kQuadAlphaModulateLine = 75;
constexpr int kQuadModulateFactorLine = 76;
constexpr int kQuadModulateTextureLine = 77;
constexpr int kQuadSetTextureLine = 79;
constexpr int kQuadProjectionLine = 81;
constexpr int kQuadViewLine = 82;
constexpr int kQuadWorldLine = 83;
constexpr int kQuadMagFilterLine = 85;
constexpr int kQuadMinFilterLine = 86;
constexpr int kQuadZWriteOnLine = 87;
constexpr int kQuadSetFVFLine = 92;
constexpr int kQuadDrawLine = 95;
constexpr int kViewQuadColorAddLine = 116;
constexpr int kViewQuadColorTextureLine = 117;
constexpr int kViewQuadSetTextureLine = 118;
constexpr int kViewQuadAddressULine = 120;
constexpr int kViewQuadAddressVLine = 121;
constexpr int kViewQuadProjectionLine = 123;
constexpr int kViewQuadViewLine = 124;
constexpr int kViewQuadWorldLine = 125;
constexpr int kViewQuadSetFVFLine = 127;
constexpr int kViewQuadDrawLine = 129;
constexpr UINT kStride = sizeof(QuadVertex);

using Quad = std::array<QuadVertex, 6>;

IDirect3DDevice9* device() {
    return GraphicsContext::instance().device;
}

// Two triangles covering (-1 - g, -1 - d) to (1 + g, 1 + d), texture row 0 at the top.
Quad fullscreenQuad(float g, float d) {
    const float left = -1.0f - g;
    const float right = 1.0f + g;
    const float bottom = -1.0f - d;
    const float top = 1.0f + d;
    return {{{left, bottom, 0.0f, 0.0f, 1.0f},
             {left, top, 0.0f, 0.0f, 0.0f},
             {right, top, 0.0f, 1.0f, 0.0f},
             {right, top, 0.0f, 1.0f, 0.0f},
             {right, bottom, 0.0f, 1.0f, 1.0f},
             {left, bottom, 0.0f, 0.0f, 1.0f}}};
}

float pictureAspect() {
    const D3DVIEWPORT9 picture = ViewportStack::current().defaultViewport();
    if (picture.Width == 0 || picture.Height == 0) {
        return 1.0f;
    }
    return static_cast<float>(picture.Width) / static_cast<float>(picture.Height);
}

// The alpha in the top byte, red, green and blue 0. NaN counts as 0.
DWORD textureFactor(float alpha) {
    if (!(alpha > 0.0f)) {
        alpha = 0.0f;
    } else if (alpha > 1.0f) {
        alpha = 1.0f;
    }
    return static_cast<DWORD>(alpha * 255.0f) << 24;
}

IDirect3DTexture9* textureOf(ID3dSurface* texture) {
    return texture != nullptr ? texture->getTexture() : nullptr;
}

void setQuadBlending(IDirect3DDevice9* dev, D3DBLEND destBlend, float alpha) {
    HR_CHECK(kSource, kQuadZWriteOffLine, dev->SetRenderState(D3DRS_ZWRITEENABLE, FALSE));
    HR_CHECK(kSource, kQuadSrcBlendLine, dev->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA));
    HR_CHECK(kSource, kQuadDestBlendLine, dev->SetRenderState(D3DRS_DESTBLEND, destBlend));
    HR_CHECK(kSource, kQuadBlendOpLine, dev->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD));
    HR_CHECK(kSource, kQuadAlphaBlendLine, dev->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE));
    HR_CHECK(kSource, kQuadAddressULine,
             dev->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP));
    HR_CHECK(kSource, kQuadAddressVLine,
             dev->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP));
    HR_CHECK(kSource, kQuadAlphaSelectLine,
             dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1));
    HR_CHECK(kSource, kQuadAlphaFactorLine,
             dev->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR));
    HR_CHECK(kSource, kQuadTextureFactorLine,
             dev->SetRenderState(D3DRS_TEXTUREFACTOR, textureFactor(alpha)));
}

void setQuadTexture(IDirect3DDevice9* dev, ID3dSurface* texture) {
    const Matrix identity = Matrix::identity();
    const Matrix projection = orthoProjection();
    HR_CHECK(kSource, kQuadColorSelectLine,
             dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1));
    HR_CHECK(kSource, kQuadColorTextureLine,
             dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE));
    HR_CHECK(kSource, kQuadAlphaModulateLine,
             dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE));
    HR_CHECK(kSource, kQuadModulateFactorLine,
             dev->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR));
    HR_CHECK(kSource, kQuadModulateTextureLine,
             dev->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE));
    HR_CHECK(kSource, kQuadSetTextureLine, dev->SetTexture(0, textureOf(texture)));
    HR_CHECK(kSource, kQuadProjectionLine, dev->SetTransform(D3DTS_PROJECTION, &projection));
    HR_CHECK(kSource, kQuadViewLine, dev->SetTransform(D3DTS_VIEW, &identity));
    HR_CHECK(kSource, kQuadWorldLine, dev->SetTransform(D3DTS_WORLD, &identity));
    HR_CHECK(kSource, kQuadMagFilterLine,
             dev->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR));
    HR_CHECK(kSource, kQuadMinFilterLine,
             dev->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR));
    HR_CHECK(kSource, kQuadZWriteOnLine, dev->SetRenderState(D3DRS_ZWRITEENABLE, TRUE));
}

}  // namespace

void clearColorAndDepth(BYTE a, BYTE r, BYTE g, BYTE b) {
    HR_CHECK(kSource, kClearColorAndDepthLine,
             device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER,
                             D3DCOLOR_ARGB(a, r, g, b), 1.0f, 0));
}

void clearDepth() {
    HR_CHECK(kSource, kClearDepthLine, device()->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0));
}

Matrix orthoProjection() {
    Matrix projection;
    D3DXMatrixOrthoLH(&projection, 2.0f, 2.0f, 0.0f, 1.0f);
    return projection;
}

void drawFullscreenQuad(ID3dSurface* texture, float alpha, float grow, D3DBLEND destBlend,
                        bool wrapInScene) {
    IDirect3DDevice9* dev = device();
    const Quad quad = fullscreenQuad(grow, grow / pictureAspect());
    setQuadBlending(dev, destBlend, alpha);
    if (texture != nullptr) {
        setQuadTexture(dev, texture);
    }
    dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    HR_CHECK(kSource, kQuadSetFVFLine, dev->SetFVF(QuadVertex::kFVF));
    if (wrapInScene) {
        dev->BeginScene();
    }
    HR_CHECK(kSource, kQuadDrawLine,
             dev->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad.data(), kStride));
    if (wrapInScene) {
        dev->EndScene();
    }
}

void drawShaderPass(TShader& shader, unsigned passes, unsigned pass, float alpha,
                    D3DBLEND destBlend, bool wrapInScene) {
    shader.beginPass(pass);
    if (pass < passes) {
        drawFullscreenQuad(nullptr, alpha, 0.0f, destBlend, wrapInScene);
    }
    shader.endPass();
}

void drawQuadWithView(ID3dSurface* texture, const Matrix& view) {
    IDirect3DDevice9* dev = device();
    const Quad quad = fullscreenQuad(0.0f, 0.0f);
    const Matrix identity = Matrix::identity();
    const Matrix projection = orthoProjection();
    HR_CHECK(kSource, kViewQuadColorAddLine,
             dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD));
    HR_CHECK(kSource, kViewQuadColorTextureLine,
             dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE));
    HR_CHECK(kSource, kViewQuadSetTextureLine, dev->SetTexture(0, textureOf(texture)));
    HR_CHECK(kSource, kViewQuadAddressULine,
             dev->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP));
    HR_CHECK(kSource, kViewQuadAddressVLine,
             dev->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP));
    HR_CHECK(kSource, kViewQuadProjectionLine, dev->SetTransform(D3DTS_PROJECTION, &projection));
    HR_CHECK(kSource, kViewQuadViewLine, dev->SetTransform(D3DTS_VIEW, &view));
    HR_CHECK(kSource, kViewQuadWorldLine, dev->SetTransform(D3DTS_WORLD, &identity));
    HR_CHECK(kSource, kViewQuadSetFVFLine, dev->SetFVF(QuadVertex::kFVF));
    dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    HR_CHECK(kSource, kViewQuadDrawLine,
             dev->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad.data(), kStride));
}

}  // namespace kelvo
