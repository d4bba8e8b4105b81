#include "gfx/BufferRenderable.h"

#include <cmath>

#include "gfx/GraphicsContext.h"
#include "gfx/RenderTarget.h"
#include "gfx/RenderUtils.h"

namespace kelvo {

BufferRenderable::~BufferRenderable() {
    if (buffer_ != nullptr) {
        GraphicsContext::instance().releaseRenderTarget(buffer_);
    }
}

void BufferRenderable::renderToBuffer(float time, bool clear) {
    // A new renderable's last time is -1, so a first call at -1 finds its picture "current".
    if (std::fabs(time - lastTime_) <= kTimeTolerance) {
        return;
    }
    RenderTarget* buffer = getBuffer();
    buffer->bind(0);
    if (clear) {
        clearColorAndDepth(0, 0, 0, 0);
    } else {
        clearDepth();
    }
    render(time, clear);
    buffer->unbind();
    lastTime_ = time;
}

RenderTarget* BufferRenderable::getBuffer() {
    if (buffer_ == nullptr) {
        buffer_ = GraphicsContext::instance().acquireRenderTarget();
    }
    return buffer_;
}

}  // namespace kelvo
