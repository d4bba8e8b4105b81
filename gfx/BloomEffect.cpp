#include "gfx/BloomEffect.h"

#include "gfx/DataFileCache.h"
#include "gfx/GraphicsContext.h"
#include "gfx/HrCheck.h"
#include "gfx/RenderTarget.h"
#include "gfx/RenderUtils.h"

namespace kelvo {

namespace {

constexpr const char* kSource = "gfx/BloomEffect";
// The lines the bloom's failure reports name.
constexpr int kBeginSceneLine = 38;
constexpr int kEndSceneLine = 57;
constexpr const char* kEffectFile = "BloomEffect.fxo";

const char* preloaded(const char* file) {
    preloadDataFile(file);
    return file;
}

IDirect3DBaseTexture9* bufferTexture(IRenderable* renderable) {
    RenderTarget* buffer = renderable != nullptr ? renderable->getBuffer() : nullptr;
    return buffer != nullptr ? buffer->getTexture() : nullptr;
}

}  // namespace

BloomEffect::BloomEffect(IRenderable* source_, float radius_, float alpha_, float power_, int tag_)
    : source(source_),
      radius(radius_),
      alpha(alpha_),
      power(power_),
      tag(tag_),
      shader("BloomEffect", preloaded(kEffectFile)) {}

void BloomEffect::drawPass(unsigned passes, unsigned pass) {
    drawShaderPass(shader, passes, pass, alpha, D3DBLEND_ONE, false);
    shader.end();
}

void BloomEffect::render(float /*time*/, bool /*clear*/) {
    GraphicsContext& context = GraphicsContext::instance();
    RenderTarget* intermediate = context.acquireRenderTarget();

    shader.setMatrix("worldViewProjection", orthoProjection());
    shader.setTexture("tex", bufferTexture(source));
    shader.setFloat("radius", radius);
    shader.setFloat("power", power);
    shader.setFloat("alpha", alpha);
    HR_CHECK(kSource, kBeginSceneLine, context.device->BeginScene());

    intermediate->bind(0);
    unsigned passes = shader.begin();
    clearColorAndDepth(0, 0, 0, 0);
    drawPass(passes, 0);
    intermediate->unbind();

    shader.setTexture("tex", intermediate->getTexture());
    passes = shader.begin();
    drawPass(passes, 1);

    HR_CHECK(kSource, kEndSceneLine, context.device->EndScene());
    context.releaseRenderTarget(intermediate);
}

}  // namespace kelvo
