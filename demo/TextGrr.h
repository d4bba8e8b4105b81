// The image overlay: one full-screen pass of "textGRR.fxo" that shades an image (title, logo,
// texts, credits) with three appearance values under a 2D transform. It renders into its own
// buffer, which the overlay drawing shows or hands to the fade.
#pragma once

#include "gfx/BufferRenderable.h"
#include "gfx/IRenderable.h"
#include "gfx/Matrix.h"
#include "gfx/TShader.h"
#include "gfx/Texture.h"

class TextGrr : public kelvo::BufferRenderable {
public:
    // Reads "textGRR.fxo" into the data file cache; the transform starts as the identity.
    explicit TextGrr(kelvo::IRenderable* source);

    // Draws into the bound target; the clear flag is not used.
    void render(float time, bool clear) override;

    // Not owned. Supplies the image when texture is null, and the depth and normal buffers.
    kelvo::IRenderable* source;
    kelvo::TShader shader;
    kelvo::Matrix transform;
    float weight = 0.9f;
    float thickness = 0.4f;
    float alpha = 0.8f;
    // Not owned.
    kelvo::Texture* texture = nullptr;
};
