#include "demo/TracerPP.h"

#include "demo/FullscreenPass.h"
#include "demo/ProductionParameters.h"
#include "gfx/RenderUtils.h"

TracerPP::TracerPP(kelvo::IRenderable* sourceRenderable, const std::string& techniqueName,
                   const std::string& effectFile)
    : source(sourceRenderable), shader(techniqueName, effectFile) {}

void TracerPP::render(float time, bool) {
    shader.setMatrix("worldViewProjection", kelvo::orthoProjection());
    shader.setMatrix("wvp", g_inverseView);
    shader.setMatrix("ortho", kelvo::orthoProjection());
    if (ID3DXEffect* effect = shader.effect()) {
        effect->SetFloatArray("uvAdd", g_tracerUvAdd, 2);
    }
    shader.setFloat("uScale", g_tracerUScale);
    shader.setTexture("tex", texture != nullptr ? texture->getTexture() : bufferTexture(source));
    setSourceAuxiliaryTextures(shader, source);
    shader.setFloat("time", time);
    drawEffectQuad(shader);
}
