#include "platform/d3d9/gl/GLSurface.h"

#include <atomic>

#include "platform/d3d9/core/DeviceRules.h"
#include "platform/d3d9/gl/GLDevice.h"
#include "platform/d3d9/gl/GLTexture.h"
#include "platform/d3d9/gl/GLTranslate.h"

std::uint64_t GLSurface::nextSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

GLSurface::GLSurface(GLDevice& device, bool ownedByDevice, Kind kind, const D3DSURFACE_DESC& desc)
    : GLRefCounted(device, ownedByDevice ? Ownership::Device : Ownership::Caller),
      kind_(kind),
      desc_(desc),
      serial_(nextSerial()) {
    const auto w = static_cast<GLsizei>(desc.Width);
    const auto h = static_cast<GLsizei>(desc.Height);
    gltranslate::discardErrors();
    if (kind == Kind::SystemMemory) {
        memory_.assign(static_cast<std::size_t>(desc.Width) * desc.Height * 4, 0);
    } else if (kind == Kind::DepthStencil) {
        glCreateRenderbuffers(1, &name_);
        glNamedRenderbufferStorage(name_, GL_DEPTH24_STENCIL8, w, h);
    } else {
        const gltranslate::TextureFormat format = gltranslate::textureFormat(desc.Format);
        glCreateTextures(GL_TEXTURE_2D, 1, &name_);
        glTextureStorage2D(name_, 1, format.internalFormat, w, h);
        glTextureParameteriv(name_, GL_TEXTURE_SWIZZLE_RGBA, format.swizzle);
    }
    if (glGetError() != GL_NO_ERROR && name_ != 0) {
        kind == Kind::DepthStencil ? glDeleteRenderbuffers(1, &name_) : glDeleteTextures(1, &name_);
        name_ = 0;
    }
}

GLSurface::GLSurface(GLTexture& container, UINT level, GLuint texture, const D3DSURFACE_DESC& desc)
    : GLRefCounted(container.device(), Ownership::Container),
      kind_(Kind::TextureLevel),
      desc_(desc),
      serial_(nextSerial()),
      container_(&container),
      level_(level),
      name_(texture) {}

GLSurface::~GLSurface() {
    if (kind_ == Kind::DepthStencil) {
        glDeleteRenderbuffers(1, &name_);
    } else if (kind_ == Kind::Color) {
        glDeleteTextures(1, &name_);
    }
}

ULONG GLSurface::AddRef() {
    return container_ != nullptr ? container_->AddRef() : addPublicRef();
}

ULONG GLSurface::Release() {
    return container_ != nullptr ? container_->Release() : releasePublicRef();
}

void GLSurface::bindRef() {
    container_ != nullptr ? container_->addInternalRef() : addInternalRef();
}

void GLSurface::unbindRef() {
    container_ != nullptr ? container_->releaseInternalRef() : releaseInternalRef();
}

HRESULT GLSurface::GetDesc(D3DSURFACE_DESC* desc) {
    if (desc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *desc = desc_;
    return D3D_OK;
}

HRESULT GLSurface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (container_ != nullptr) {
        return container_->LockRect(level_, locked, rect, flags);
    }
    auto scope = device().lockOnly();
    if (locked == nullptr || locked_ || !DeviceRules::surfaceLockable(desc_.Usage)) {
        return D3DERR_INVALIDCALL;
    }
    if (kind_ != Kind::SystemMemory) {
        return D3DERR_NOTAVAILABLE;  // a default-pool off-screen surface (see GLLimits)
    }
    std::size_t offset = 0;
    if (rect != nullptr) {
        if (rect->left < 0 || rect->top < 0 ||
            rect->right > static_cast<std::int32_t>(desc_.Width) ||
            rect->bottom > static_cast<std::int32_t>(desc_.Height) || rect->left >= rect->right ||
            rect->top >= rect->bottom) {
            return D3DERR_INVALIDCALL;
        }
        offset = static_cast<std::size_t>(rect->top) * pitch() +
                 static_cast<std::size_t>(rect->left) * 4;
    }
    locked_ = true;
    locked->Pitch = static_cast<INT>(pitch());
    locked->pBits = memory_.data() + offset;
    return D3D_OK;
}

HRESULT GLSurface::UnlockRect() {
    if (container_ != nullptr) {
        return container_->UnlockRect(level_);
    }
    auto scope = device().lockOnly();
    if (!locked_) {
        return D3DERR_INVALIDCALL;
    }
    locked_ = false;
    return D3D_OK;
}
