#include "platform/d3d9/gl/GLTexture.h"

#include <algorithm>

#include "platform/d3d9/core/DeviceRules.h"
#include "platform/d3d9/gl/GLDevice.h"

GLTexture::GLTexture(GLDevice& device, UINT width, UINT height, UINT levels, DWORD usage,
                     D3DFORMAT format, D3DPOOL pool)
    : GLRefCounted(device, Ownership::Caller),
      format_(gltranslate::textureFormat(format)),
      usage_(usage) {
    const UINT chain = DeviceRules::fullMipChain(width, height);
    UINT count =
        levels == 0 || (usage & D3DUSAGE_AUTOGENMIPMAP) != 0 ? chain : std::min(levels, chain);
    if (format_.internalFormat == 0 || width == 0 || height == 0 ||
        ((usage & D3DUSAGE_RENDERTARGET) != 0 && !format_.renderable)) {
        return;
    }
    gltranslate::discardErrors();
    glCreateTextures(GL_TEXTURE_2D, 1, &name_);
    glTextureStorage2D(name_, static_cast<GLsizei>(count), format_.internalFormat,
                       static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    glTextureParameteriv(name_, GL_TEXTURE_SWIZZLE_RGBA, format_.swizzle);
    glTextureParameteri(name_, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(count - 1));
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name_);
        name_ = 0;
        return;
    }
    levels_.resize(count);
    for (UINT i = 0; i < count; ++i) {
        levels_[i].desc = DeviceRules::levelDesc(width, height, i, usage, format, pool);
    }
}

GLTexture::~GLTexture() {
    for (Level& level : levels_) {
        level.surface.reset();
    }
    glDeleteTextures(1, &name_);
}

DWORD GLTexture::GetLevelCount() {
    // An automatically generated chain shows one level, as Direct3D's does.
    return (usage_ & D3DUSAGE_AUTOGENMIPMAP) != 0 ? 1 : static_cast<DWORD>(levels_.size());
}

HRESULT GLTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (desc == nullptr || level >= GetLevelCount()) {
        return D3DERR_INVALIDCALL;
    }
    *desc = levels_[level].desc;
    return D3D_OK;
}

HRESULT GLTexture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
    if (surface == nullptr || level >= GetLevelCount()) {
        return D3DERR_INVALIDCALL;
    }
    auto scope = device().lockOnly();
    Level& l = levels_[level];
    if (!l.surface) {
        l.surface = std::make_unique<GLSurface>(*this, level, name_, l.desc);
    }
    *surface = l.surface.get();
    AddRef();
    return D3D_OK;
}

UINT GLTexture::levelPitch(UINT level) const {
    return levels_[level].desc.Width * format_.bytesPerPixel;
}

std::size_t GLTexture::levelBytes(UINT level) const {
    return static_cast<std::size_t>(levelPitch(level)) * levels_[level].desc.Height;
}

void GLTexture::readLevel(UINT level, std::vector<std::uint8_t>& bytes) {
    bytes.resize(levelBytes(level));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTextureImage(name_, static_cast<GLint>(level), format_.uploadFormat, format_.uploadType,
                      static_cast<GLsizei>(bytes.size()), bytes.data());
}

void GLTexture::writeLevel(UINT level, const std::uint8_t* bytes) {
    const D3DSURFACE_DESC& desc = levels_[level].desc;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTextureSubImage2D(name_, static_cast<GLint>(level), 0, 0, static_cast<GLsizei>(desc.Width),
                        static_cast<GLsizei>(desc.Height), format_.uploadFormat, format_.uploadType,
                        bytes);
    levels_[level].written = true;
    if ((usage_ & D3DUSAGE_AUTOGENMIPMAP) != 0 && level == 0) {
        glGenerateTextureMipmap(name_);
    }
}

bool GLTexture::copyLevelsFrom(GLTexture& source, UINT firstSourceLevel) {
    const auto locked = [](const Level& level) { return level.locked; };
    if (std::any_of(levels_.begin(), levels_.end(), locked) ||
        std::any_of(source.levels_.begin(), source.levels_.end(), locked)) {
        return false;
    }
    gltranslate::discardErrors();
    std::vector<std::uint8_t> bytes;
    for (UINT level = 0; level < GetLevelCount(); ++level) {
        const UINT from = firstSourceLevel + level;
        // A level never written holds nothing defined to copy.
        if (source.levels_[from].written) {
            source.readLevel(from, bytes);
            writeLevel(level, bytes.data());
        }
    }
    device().flushIfShared();
    return glGetError() == GL_NO_ERROR;
}

HRESULT GLTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (locked == nullptr || level >= GetLevelCount()) {
        return D3DERR_INVALIDCALL;
    }
    auto scope = device().enter();
    Level& l = levels_[level];
    if (l.locked || !DeviceRules::textureLockable(l.desc.Pool, usage_)) {
        return D3DERR_INVALIDCALL;
    }
    const UINT pitch = levelPitch(level);
    std::size_t offset = 0;
    if (rect != nullptr) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
            rect->top >= rect->bottom || rect->right > static_cast<std::int32_t>(l.desc.Width) ||
            rect->bottom > static_cast<std::int32_t>(l.desc.Height)) {
            return D3DERR_INVALIDCALL;
        }
        offset = static_cast<std::size_t>(rect->top) * pitch +
                 static_cast<std::size_t>(rect->left) * format_.bytesPerPixel;
    }
    // A partial or read-only lock sees the level's current contents.
    if (l.written && (flags & D3DLOCK_DISCARD) == 0) {
        readLevel(level, l.lockCopy);
    } else {
        l.lockCopy.resize(levelBytes(level));
    }
    l.locked = true;
    l.readOnly = (flags & D3DLOCK_READONLY) != 0;
    locked->Pitch = static_cast<INT>(pitch);
    locked->pBits = l.lockCopy.data() + offset;
    return D3D_OK;
}

HRESULT GLTexture::UnlockRect(UINT level) {
    if (level >= GetLevelCount()) {
        return D3DERR_INVALIDCALL;
    }
    auto scope = device().enter();
    Level& l = levels_[level];
    if (!l.locked) {
        return D3DERR_INVALIDCALL;
    }
    l.locked = false;
    if (!l.readOnly) {
        gltranslate::discardErrors();
        writeLevel(level, l.lockCopy.data());
        device().flushIfShared();
    }
    std::vector<std::uint8_t>().swap(l.lockCopy);
    return !l.readOnly && glGetError() != GL_NO_ERROR ? D3DERR_INVALIDCALL : D3D_OK;
}
