// Glow over another renderable's picture: pass 0 draws the bright, blurred parts of the
// source's buffer into an intermediate target borrowed from the pool; pass 1 adds them onto the
// target bound by the caller (normally this effect's own buffer, through renderToBuffer). The
// source is read, not rendered: its owner renders it first.
#pragma once

#include "gfx/BufferRenderable.h"
#include "gfx/TShader.h"

namespace kelvo {

class BloomEffect : public BufferRenderable {
public:
    // Puts "BloomEffect.fxo" into the data file cache and takes its effect. tag is kept for the
    // creator; the effect does not use it.
    BloomEffect(IRenderable* source, float radius, float alpha, float power, int tag);

    // Opens its own scene bracket, so the device must not be inside a scene.
    void render(float time, bool clear) override;

    IRenderable* source;  // not owned
    float radius;
    float alpha;
    float power;
    int tag;
    TShader shader;

private:
    // One pass of a technique begun with `passes` passes, then the end of the technique.
    void drawPass(unsigned passes, unsigned pass);
};

}  // namespace kelvo
