#include "gfx/GraphicsContext.h"

#include <algorithm>

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

namespace {

bool fitsPicture(const RenderTarget* target, const D3DVIEWPORT9& picture) {
    return target->width() == picture.Width && target->height() == picture.Height &&
           target->format() == D3DFMT_A8R8G8B8;
}

RenderTarget* takeFitting(std::list<RenderTarget*>& targets, const D3DVIEWPORT9& picture) {
    for (auto it = targets.begin(); it != targets.end(); ++it) {
        RenderTarget* target = *it;
        if (fitsPicture(target, picture)) {
            targets.erase(it);
            return target;
        }
    }
    return nullptr;
}

}  // namespace

RenderTarget* GraphicsContext::acquireRenderTarget() {
    const D3DVIEWPORT9 picture = ViewportStack::current().defaultViewport();
    if (RenderTarget* target = takeFitting(freeRenderTargets, picture)) {
        return target;
    }
    if (RenderTarget* target = takeFitting(reservedRenderTargets, picture)) {
        return target;
    }
    auto* target = new RenderTarget();
    target->create(picture.Width, picture.Height);
    renderTargets.emplace(target, true);
    return target;
}

void GraphicsContext::reserveRenderTargets(unsigned count) {
    const D3DVIEWPORT9 picture = ViewportStack::current().defaultViewport();
    unsigned existing = 0;
    for (const auto& [target, owned] : renderTargets) {
        existing += fitsPicture(target, picture) ? 1u : 0u;
    }
    for (; existing < count; ++existing) {
        auto* target = new RenderTarget();
        target->create(picture.Width, picture.Height);
        renderTargets.emplace(target, true);
        reservedRenderTargets.push_back(target);
    }
}

// Only a registered target that is not already free goes back: a borrower that outlives
// releaseResources (an effect object destroyed after shutdown) would otherwise put a destroyed
// target in the pool, and one given back twice would be handed to two borrowers.
void GraphicsContext::releaseRenderTarget(RenderTarget* target) {
    if (target == nullptr || !renderTargets.contains(target) ||
        std::find(freeRenderTargets.begin(), freeRenderTargets.end(), target) !=
            freeRenderTargets.end()) {
        return;
    }
    freeRenderTargets.push_back(target);
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
    reservedRenderTargets.clear();
}

void GraphicsContext::release() {
    releaseResources();
    if (device != nullptr) {
        device->Release();
        device = nullptr;
    }
}

}  // namespace kelvo
