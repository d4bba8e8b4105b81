#include "demo/FullscreenPass.h"

#include "gfx/DataFileCache.h"
#include "gfx/GraphicsContext.h"
#include "gfx/RenderTarget.h"
#include "gfx/RenderUtils.h"

namespace {

IDirect3DTexture9* textureOf(kelvo::RenderTarget* target) {
    return target != nullptr ? target->getTexture() : nullptr;
}

}  // namespace

const char* preloadedEffect(const char* effectFile) {
    kelvo::preloadDataFile(effectFile);
    return effectFile;
}

IDirect3DTexture9* bufferTexture(kelvo::IRenderable* source) {
    return source != nullptr ? textureOf(source->getBuffer()) : nullptr;
}

void setSourceAuxiliaryTextures(kelvo::TShader& shader, kelvo::IRenderable* source) {
    shader.setTexture("depthTex",
                      source != nullptr ? textureOf(source->getDepthBuffer()) : nullptr);
    shader.setTexture("normTex",
                      source != nullptr ? textureOf(source->getNormalBuffer()) : nullptr);
}

void drawEffectQuad(kelvo::TShader& shader) {
    IDirect3DDevice9* device = kelvo::GraphicsContext::instance().device;
    device->BeginScene();
    const unsigned passes = shader.begin();
    kelvo::drawShaderPass(shader, passes, 0, 1.0f, D3DBLEND_INVSRCALPHA, true);
    shader.end();
    device->EndScene();
}
