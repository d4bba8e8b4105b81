#include "tools/bench/show/FloorFrame.h"

#include "gfx/GraphicsContext.h"
#include "gfx/RenderUtils.h"

FloorFrame::FloorFrame(IDirect3DDevice9& device, IFrameObserver& finish)
    : device_(device), finish_(finish) {
    kelvo::GraphicsContext& context = kelvo::GraphicsContext::instance();
    targets_[0] = context.acquireRenderTarget();
    targets_[1] = context.acquireRenderTarget();
}

FloorFrame::~FloorFrame() {
    kelvo::GraphicsContext::instance().releaseRenderTarget(targets_[0]);
    kelvo::GraphicsContext::instance().releaseRenderTarget(targets_[1]);
}

void FloorFrame::render(int passes) {
    device_.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    for (int pass = 0; pass < passes; ++pass) {
        kelvo::RenderTarget* source = targets_[pass % 2];
        kelvo::RenderTarget* destination = targets_[(pass + 1) % 2];
        const bool last = pass + 1 == passes;
        if (!last) {
            destination->bind(0);
        }
        kelvo::drawFullscreenQuad(source, 1.0f, 0.0f, D3DBLEND_ZERO, true);
        if (!last) {
            destination->unbind();
        }
    }
    finish_.frameDrawn(0.0f);
    device_.Present(nullptr, nullptr, nullptr, nullptr);
}
