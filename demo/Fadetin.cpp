#include "demo/Fadetin.h"

#include "demo/FullscreenPass.h"
#include "gfx/RenderUtils.h"

Fadetin::Fadetin(kelvo::IRenderable* sourceRenderable, float fadeAmount)
    : source(sourceRenderable),
      shader("Fadetin", preloadedEffect("Fade.fxo")),
      amount(fadeAmount) {}

void Fadetin::render(float, bool) {
    shader.setMatrix("worldViewProjection", kelvo::orthoProjection());
    shader.setTexture("tex", bufferTexture(source));
    shader.setFloat("Fadetin_", amount);
    drawEffectQuad(shader);
}
