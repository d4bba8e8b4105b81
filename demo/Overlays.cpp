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

    // Each element clears only depth, so each draws over what its pooled buffer last held. The
    // pool hands the text overlay the bloom's intermediate target of this frame (in the last part
    // the fade takes it, and the text overlay the previous frame's scene picture): the glowing
    // picture under the letters comes from there, which is why the effect files write it opaque.
    bloom.renderToBuffer(t, false);
    text.renderToBuffer(t, false);
    kelvo::BufferRenderable* last = &text;
    if (fade) {
        fade->renderToBuffer(t, false);
        last = &*fade;
    }
    kelvo::drawFullscreenQuad(last->getBuffer(), 1.0f, 0.0f, D3DBLEND_INVSRCALPHA, true);
}
