#include "demo/TextGrr.h"

#include "demo/FullscreenPass.h"
#include "gfx/RenderUtils.h"

TextGrr::TextGrr(kelvo::IRenderable* sourceRenderable)
    : source(sourceRenderable),
      shader("text", preloadedEffect("textGRR.fxo")),
      transform(kelvo::orthoProjection()) {}

void TextGrr::render(float time, bool) {
    shader.setMatrix("worldViewProjection", transform);
    shader.setTexture("tex", texture != nullptr ? texture->getTexture() : bufferTexture(source));
    setSourceAuxiliaryTextures(shader, source);
    shader.setFloat("time", time);
    shader.setFloat("textThickness", thickness);
    shader.setFloat("textWeight", weight);
    shader.setFloat("textAlpha", alpha);
    drawEffectQuad(shader);
}
