// Screen-space helpers: clearing the bound target and drawing one quad over the viewport, with
// or without a texture, blended with a constant alpha. They set the device states they need and
// restore none of them. Failing device calls are reported (HR_CHECK, "gfx/RenderUtils") and the
// drawing goes on.
#pragma once

#include "gfx/ID3dSurface.h"
#include "gfx/Matrix.h"
#include "platform/d3d9/d3d9.h"

namespace kelvo {

class TShader;

// Clears colour (note the order: alpha first) and depth (to 1) of the current viewport.
void clearColorAndDepth(BYTE a, BYTE r, BYTE g, BYTE b);
void clearDepth();

// The projection of the screen quads: D3DXMatrixOrthoLH(2, 2, 0, 1), the identity in value.
Matrix orthoProjection();

// Draws a quad over the viewport, enlarged about its centre by grow horizontally and by
// grow / aspect vertically (aspect: that of the default viewport), so a positive grow zooms the
// texture. Blending: source alpha against destBlend; the alpha is the texture factor, alpha
// clamped to 0..1. Without a texture the colour comes from the current stage and shader state
// and depth writes stay off; with one the colour is the texture's, its alpha multiplied by alpha,
// and depth writes are on again. wrapInScene brackets the draw in BeginScene / EndScene.
void drawFullscreenQuad(ID3dSurface* texture, float alpha, float grow, D3DBLEND destBlend,
                        bool wrapInScene);

// Pass `pass` of a shader begun with `passes` passes, as the quad above with no texture. The pass
// is begun and ended through the shader, which reports their failures; the quad is drawn only
// when the technique has that pass, so a shader whose effect could not be created (no passes)
// draws nothing rather than whatever the device's fixed-function state makes of the quad.
void drawShaderPass(TShader& shader, unsigned passes, unsigned pass, float alpha,
                    D3DBLEND destBlend, bool wrapInScene);

// Draws the texture over the viewport through the given view matrix, adding it to the stage's
// current colour; blend and depth states are left as they are, and no scene is begun.
void drawQuadWithView(ID3dSurface* texture, const Matrix& view);

}  // namespace kelvo
