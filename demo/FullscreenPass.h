// What the production's full-screen effect passes share: reading textures off a source
// renderable and drawing the first pass of a shader as one quad over the bound target.
#pragma once

#include "gfx/IRenderable.h"
#include "gfx/TShader.h"

// Puts the effect file into the data file cache and gives its name back, for member
// initialisers that build a shader from it.
const char* preloadedEffect(const char* effectFile);

// The source's buffer as a texture; null without a source or when the buffer has none. Asking
// for the buffer acquires it if the source has none yet.
IDirect3DTexture9* bufferTexture(kelvo::IRenderable* source);

// "depthTex" and "normTex" from the source's depth and normal buffers, null where there is none.
void setSourceAuxiliaryTextures(kelvo::TShader& shader, kelvo::IRenderable* source);

// BeginScene, pass 0 of the shader as a blended quad with no texture, EndScene. Pass failures
// are reported by the shader, and a shader without that pass draws nothing; the scene
// bracket's results are not checked.
void drawEffectQuad(kelvo::TShader& shader);
