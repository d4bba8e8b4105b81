// A renderable with an off-screen buffer of its own (a render target borrowed from the pool on
// first need and given back on destruction), which it renders into at most once per distinct
// time value, so that later stages can read the picture as a texture.
#pragma once

#include "gfx/IRenderable.h"

namespace kelvo {

class BufferRenderable : public IRenderable {
public:
    // Times closer than this to the last rendered one count as the same picture.
    static constexpr float kTimeTolerance = 0.001f;

    BufferRenderable() = default;
    ~BufferRenderable() override;
    BufferRenderable(const BufferRenderable&) = delete;
    BufferRenderable& operator=(const BufferRenderable&) = delete;

    using IRenderable::renderToBuffer;
    // Binds the buffer at index 0, clears colour and depth (clear) or depth only, renders and
    // unbinds; skipped when time is within kTimeTolerance of the last rendered time.
    void renderToBuffer(float time, bool clear) override;
    RenderTarget* getBuffer() override;

    // The time of the last completed renderToBuffer; -1 before the first.
    float lastTime() const { return lastTime_; }

private:
    RenderTarget* buffer_ = nullptr;
    float lastTime_ = -1.0f;
};

}  // namespace kelvo
