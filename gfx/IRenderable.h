// Everything that produces a picture: the scene, the post-processing effects and the
// production's screen effects. A renderable draws with render() into whatever target is bound,
// or into its own buffer with renderToBuffer(). Only the scene has auxiliary buffers
// (velocity, depth, normal); the material binding binds them as extra colour outputs.
#pragma once

namespace kelvo {

class RenderTarget;

class IRenderable {
public:
    // Owners destroy renderables through their own type; the virtual destructor only keeps a
    // deletion through this interface sound.
    virtual ~IRenderable() = default;

    // Draws into the own buffer unless it already holds the picture of this time.
    virtual void renderToBuffer(float time, bool clear) = 0;
    virtual void renderToBuffer(float time) { renderToBuffer(time, true); }
    // Draws into whatever target is bound, without clearing.
    virtual void renderDirect(float time) { render(time, false); }
    // The drawing itself, into the bound target.
    virtual void render(float time, bool clear) = 0;

    // The own buffer, taken from the render-target pool on first call.
    virtual RenderTarget* getBuffer() = 0;
    virtual RenderTarget* getVelocityBuffer() { return nullptr; }
    virtual RenderTarget* getDepthBuffer() { return nullptr; }
    virtual RenderTarget* getNormalBuffer() { return nullptr; }
};

}  // namespace kelvo
