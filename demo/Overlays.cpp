#include "demo/Overlays.h"

#include <optional>

#include "demo/Fadetin.h"
#include "demo/MusicClockGlobals.h"
#include "demo/OverlayPlan.h"
#include "demo/TextGrr.h"
#include "gfx/BloomEffect.h"
#include "gfx/RenderTarget.h"
#include "gfx/RenderUtils.h"

void drawOverlays(kelvo::IRenderable* scene) {
    const float t = g_demoSeconds;
    const OverlayPlan plan = planOverlay(g_demoPart, t, g_spectrum);

    kelvo::BloomEffect bloom(scene, plan.bloomRadius, plan.bloomAlpha, plan.bloomPower,
                             plan.bloomTag);
    TextGrr text(&bloom);
    text.texture = plan.image;
    text.transform = plan.transform;
    text.thickness = plan.textThickness;
    text.weight = plan.textWeight;
    text.alpha = plan.textAlpha;
    std::optional<Fadetin> fade;
    if (plan.fade) {
        fade.emplace(&text, plan.fadeAmount);
    }

    // The bloom clears only depth. The text overlay and the fade start from transparent black:
    // their buffers are drawn over the frame with their own alpha, and a pooled target still
    // holding an earlier user's opaque picture would otherwise hide the tube and the model.
    bloom.renderToBuffer(t, false);
    text.renderToBuffer(t, true);
    kelvo::BufferRenderable* last = &text;
    if (fade) {
        fade->renderToBuffer(t, true);
        last = &*fade;
    }
    kelvo::drawFullscreenQuad(last->getBuffer(), 1.0f, 0.0f, D3DBLEND_INVSRCALPHA, true);
}
