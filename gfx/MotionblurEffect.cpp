#include "gfx/MotionblurEffect.h"

#include "gfx/DataFileCache.h"
#include "gfx/RenderUtils.h"

namespace kelvo {

namespace {

constexpr const char* kEffectFile = "MappedBlur.fxo";

const char* preloaded(const char* file) {
    preloadDataFile(file);
    return file;
}

IDirect3DBaseTexture9* textureOf(ID3dSurface* surface) {
    return surface != nullptr ? surface->getTexture() : nullptr;
}

}  // namespace

MotionblurEffect::MotionblurEffect(ID3dSurface* source_, ID3dSurface* blurMap_, ID3dSurface* depth_,
                                   float radius_)
    : source(source_),
      blurMap(blurMap_),
      depth(depth_),
      radius(radius_),
      shader("MappedBlur", preloaded(kEffectFile)) {}

void MotionblurEffect::render(float /*time*/, bool /*clear*/) {
    shader.setMatrix("worldViewProjection", orthoProjection());
    shader.setTexture("tex", textureOf(source));
    shader.setTexture("blurMap", textureOf(blurMap));
    shader.setTexture("depthTex", textureOf(depth));
    shader.setFloat("radius", radius);
    const unsigned passes = shader.begin();
    drawShaderPass(shader, passes, 0, 1.0f, D3DBLEND_INVSRCALPHA, true);
    shader.end();
}

}  // namespace kelvo
