#include "gfx/RenderTarget.h"

#include "gfx/FatalError.h"
#include "gfx/GraphicsContext.h"
#include "gfx/HrCheck.h"
#include "gfx/ViewportStack.h"

namespace kelvo {

namespace {

constexpr const char* kSource = "gfx/RenderTarget";
// The lines the target's failure reports name.
constexpr int kCreateTextureLine = 26;
constexpr int kGetSurfaceLevelLine = 35;
constexpr int kCreateDepthStencilLine = 46;

template <class Interface>
void releaseAndClear(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

}  // namespace

RenderTarget::~RenderTarget() {
    dropSavedSurfaces();
    // The top surface holds a reference on its texture (Direct3D forwards it), so it goes first.
    releaseAndClear(surface_);
    releaseAndClear(texture_);
    releaseAndClear(depthSurface_);
}

void RenderTarget::create(unsigned width, unsigned height) {
    if (texture_ != nullptr || surface_ != nullptr) {
        fatalError(52);
        return;
    }
    IDirect3DDevice9* device = GraphicsContext::instance().device;
    format_ = D3DFMT_A8R8G8B8;
    width_ = width;
    height_ = height;
    HR_CHECK(kSource, kCreateTextureLine,
             device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, format_,
                                   D3DPOOL_DEFAULT, &texture_, nullptr));
    // A failed creation leaves no texture; the target then has no surface and binding it is
    // refused (119) instead of dereferencing null.
    if (texture_ != nullptr) {
        HR_CHECK(kSource, kGetSurfaceLevelLine, texture_->GetSurfaceLevel(0, &surface_));
    }
    if (depthSurface_ == nullptr) {
        HR_CHECK(kSource, kCreateDepthStencilLine,
                 device->CreateDepthStencilSurface(width, height, D3DFMT_D24S8, D3DMULTISAMPLE_NONE,
                                                   0, TRUE, &depthSurface_, nullptr));
    }
}

void RenderTarget::bind(unsigned index) {
    if (surface_ == nullptr) {
        fatalError(119);
        return;
    }
    if (bound_) {
        // The bind goes ahead; what the first bind saved is given up. Its viewport goes too:
        // only one unbind will follow, and it pops one viewport.
        fatalError(124);
        dropSavedSurfaces();
        if (index_ == 0) {
            ViewportStack::current().popViewport();
        }
    }
    bound_ = true;
    index_ = index;
    IDirect3DDevice9* device = GraphicsContext::instance().device;
    device->GetRenderTarget(index, &savedSurface_);
    device->SetRenderTarget(index, surface_);
    if (index == 0) {
        saveAndReplaceDepthAndViewport(device);
    }
}

void RenderTarget::unbind() {
    if (!bound_) {
        fatalError(166);
        return;
    }
    bound_ = false;
    IDirect3DDevice9* device = GraphicsContext::instance().device;
    // Above index 0 with nothing bound before, the saved surface is null and this detaches the
    // output again.
    device->SetRenderTarget(index_, savedSurface_);
    if (index_ == 0) {
        restoreDepthAndViewport(device);
    }
    dropSavedSurfaces();
}

void RenderTarget::clearTarget() {
    if (surface_ != nullptr) {
        GraphicsContext::instance().device->ColorFill(surface_, nullptr, D3DCOLOR_ARGB(0, 0, 0, 0));
    }
}

void RenderTarget::saveAndReplaceDepthAndViewport(IDirect3DDevice9* device) {
    if (depthSurface_ != nullptr) {
        device->GetDepthStencilSurface(&savedDepthSurface_);
        device->SetDepthStencilSurface(depthSurface_);
    }
    ViewportStack::current().pushViewport({0, 0, width_, height_, 0.0f, 1.0f});
}

void RenderTarget::restoreDepthAndViewport(IDirect3DDevice9* device) {
    if (depthSurface_ != nullptr) {
        device->SetDepthStencilSurface(savedDepthSurface_);
    }
    ViewportStack::current().popViewport();
}

void RenderTarget::dropSavedSurfaces() {
    releaseAndClear(savedSurface_);
    releaseAndClear(savedDepthSurface_);
}

}  // namespace kelvo
