// The overlay pass of every frame: from the frame's scene (already copied to the back buffer)
// a chain of bloom, text overlay and, in the last part, the fade, each rendered into its own
// pooled buffer; the last one is blended over the back buffer. The values come from the part's
// OverlayPlan, which also advances the production parameters.
#pragma once

#include "gfx/IRenderable.h"

// Reads g_demoSeconds, g_demoPart and g_spectrum. The back buffer must be bound.
void drawOverlays(kelvo::IRenderable* scene);
