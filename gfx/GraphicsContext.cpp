#include "gfx/GraphicsContext.h"

#include "gfx/RenderTarget.h"
#include "gfx/Texture.h"
#include "gfx/ViewportStack.h"

namespace kelvo {

GraphicsContext& GraphicsContext::instance() {
    static GraphicsContext* const context = new GraphicsContext();
    return *context;
}

Texture* GraphicsContext::loadTexture(const std::string& name) {
    auto* texture = new Texture();
    texture->load(name);
    textures.emplace(texture, true);
    return texture;
}

RenderTarget* GraphicsContext::acquireRenderTarget() {
    const D3DVIEWPORT9 picture = ViewportStack::current().defaultViewport();
    for (auto it = freeRenderTargets.begin(); it != freeRenderTargets.end(); ++it) {
        RenderTarget* target = *it;
        if (target->width() == picture.Width && target->height() == picture.Height &&
            target->format() == D3DFMT_A8R8G8B8) {
            freeRenderTargets.erase(it);
            return target;
        }
    }
    auto* target = new RenderTarget();
    target->create(picture.Width, picture.Height);
    renderTargets.emplace(target, true);
    return target;
}

void GraphicsContext::releaseRenderTarget(RenderTarget* target) {
    if (target != nullptr) {
        freeRenderTargets.push_back(target);
    }
}

void GraphicsContext::releaseResources() {
    for (const auto& [texture, owned] : textures) {
        if (owned) {
            delete texture;
        }
    }
    textures.clear();
    for (const auto& [target, owned] : renderTargets) {
        if (owned) {
            delete target;
        }
    }
    renderTargets.clear();
    freeRenderTargets.clear();
}

void GraphicsContext::release() {
    releaseResources();
    if (device != nullptr) {
        device->Release();
        device = nullptr;
    }
}

}  // namespace kelvo
