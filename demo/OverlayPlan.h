// What the overlay drawing puts on screen in a frame, computed from the music time, the part and
// the spectrum: the bloom's settings, the text overlay's image, transform and appearance, and in
// the last part the fade. Computing a plan writes the production parameters the part animates
// (see ProductionParameters.h); drawOverlays then builds the effects from it.
#pragma once

#include "gfx/Matrix.h"
#include "gfx/Texture.h"

struct OverlayPlan {
    float bloomRadius = 0.0f;
    float bloomAlpha = 0.0f;
    float bloomPower = 0.0f;
    // Kept by the bloom but not used by it; each part passes its own.
    int bloomTag = 0;

    kelvo::Texture* image = nullptr;
    kelvo::Matrix transform = kelvo::Matrix::identity();
    float textAlpha = 0.0f;
    float textThickness = 0.0f;
    float textWeight = 0.0f;

    bool fade = false;
    float fadeAmount = 0.0f;
};

// The spectrum is 64 bins, lowest first; null reads as silence.
OverlayPlan planOverlay(int part, float t, const float* spectrum);

OverlayPlan planPartZero(float t, const float* spectrum);
OverlayPlan planPartOne(float t, const float* spectrum);
OverlayPlan planPartTwo(float t);

// trunc(4t / 27.825) mod 4: the part-1 text changes every quarter phrase.
int textImageIndex(float t);
// Bins 37 to 40 and 49 to 59, summed from the lowest.
float lowSpectrumSum(const float* spectrum);
float highSpectrumSum(const float* spectrum);
