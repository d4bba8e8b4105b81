// A picture the engine renders into and later reads as a texture: an A8R8G8B8 colour texture
// with a depth-stencil surface of its own. The pool (GraphicsContext::acquireRenderTarget)
// creates every target at the size of the letterboxed picture and destroys them at shutdown.
//
// Binding protocol: every bind is followed by exactly one unbind of the same target before it is
// bound again. A bind replaces the device's render target at the index and, at index 0, also the
// depth surface and the viewport; unbind puts back what bind replaced. So index-0 binds nest: a
// target bound inside another one restores the outer target, its depth surface and viewport.
// Breaking the protocol is reported with fatalError (119, 124, 166) and the program goes on.
#pragma once

#include "gfx/ID3dSurface.h"

namespace kelvo {

class RenderTarget : public ID3dSurface {
public:
    RenderTarget() = default;
    ~RenderTarget() override;
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Creates the texture (one level), takes its top surface and, unless one exists, creates
    // the depth-stencil surface (D24S8). Fatal error 52 when the surfaces already exist.
    void create(unsigned width, unsigned height);

    // Makes this the device's render target at index (0 to 3); see the protocol above.
    void bind(unsigned index);
    void unbind();

    // Fills the colour texture with transparent black; the depth surface is untouched.
    void clearTarget();

    IDirect3DTexture9* getTexture() override { return texture_; }
    IDirect3DSurface9* surface() const { return surface_; }
    IDirect3DSurface9* depthSurface() const { return depthSurface_; }
    unsigned width() const { return width_; }
    unsigned height() const { return height_; }
    D3DFORMAT format() const { return format_; }
    bool isBound() const { return bound_; }

private:
    void saveAndReplaceDepthAndViewport(IDirect3DDevice9* device);
    void restoreDepthAndViewport(IDirect3DDevice9* device);
    void dropSavedSurfaces();

    unsigned width_ = 0;
    unsigned height_ = 0;
    bool bound_ = false;
    D3DFORMAT format_ = D3DFMT_A8R8G8B8;
    IDirect3DSurface9* depthSurface_ = nullptr;
    IDirect3DSurface9* surface_ = nullptr;
    // What the current bind replaced; each holds the reference its Get* call gave.
    IDirect3DSurface9* savedSurface_ = nullptr;
    IDirect3DSurface9* savedDepthSurface_ = nullptr;
    unsigned index_ = 0;
    IDirect3DTexture9* texture_ = nullptr;
};

}  // namespace kelvo
