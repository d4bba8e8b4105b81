// The fade: one full-screen pass of "Fade.fxo" that shades its source's picture under a single
// amount (1 shows it, 0 has faded it out).
#pragma once

#include "gfx/BufferRenderable.h"
#include "gfx/IRenderable.h"
#include "gfx/TShader.h"

class Fadetin : public kelvo::BufferRenderable {
public:
    // Reads "Fade.fxo" into the data file cache.
    Fadetin(kelvo::IRenderable* source, float amount);

    // Draws into the bound target; neither argument is used. The source's buffer is read, not
    // refreshed: render the source first.
    void render(float time, bool clear) override;

    // Not owned.
    kelvo::IRenderable* source;
    kelvo::TShader shader;
    float amount;
};
