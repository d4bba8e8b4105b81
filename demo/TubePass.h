// The production's background: one tracer pass per frame over the scene's buffer, before the
// scene's geometry is drawn on top. The effect file and image follow the part; the scroll and
// scale come from the production parameters as the previous frame's overlay left them (part 0)
// or as the timeline set them earlier in the frame (part 1).
#pragma once

#include "gfx/IRenderable.h"
#include "gfx/Texture.h"

struct TubeSetup {
    const char* effectFile;
    kelvo::Texture* image;
};

// Part 0 "tube.fxo" over the nebula, part 1 "tube2x.fxo" and part 2 "zoot.fxo" over the stars.
TubeSetup tubeSetupFor(int part);

// Draws into the bound target (the scene's buffer); reads g_demoSeconds and g_demoPart.
void tubePass(kelvo::IRenderable* scene);
