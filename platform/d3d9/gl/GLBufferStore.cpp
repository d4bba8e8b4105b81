#include "platform/d3d9/gl/GLBufferStore.h"

#include <algorithm>

#include "platform/d3d9/gl/GLTranslate.h"

GLBufferStore::GLBufferStore(UINT size, Content content) : bytes_(size, 0) {
    if (size == 0) {
        return;
    }
    gltranslate::discardErrors();
    glCreateBuffers(1, &name_);
    if (content == Content::Indices) {
        glprofile::declareIndexBuffer(name_);
    }
    glNamedBufferData(name_, static_cast<GLsizeiptr>(size), nullptr, GL_DYNAMIC_DRAW);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteBuffers(1, &name_);
        name_ = 0;
    }
}

GLBufferStore::~GLBufferStore() {
    glDeleteBuffers(1, &name_);
}

HRESULT GLBufferStore::lock(UINT offset, UINT size, void** data, DWORD flags) {
    if (data == nullptr || locked_ || offset > bytes_.size()) {
        return D3DERR_INVALIDCALL;
    }
    // Size 0 locks from the offset to the end, as Direct3D's does.
    const std::size_t end = size == 0 ? bytes_.size() : std::size_t{offset} + size;
    if (end > bytes_.size()) {
        return D3DERR_INVALIDCALL;
    }
    locked_ = true;
    lockWrites_ = (flags & D3DLOCK_READONLY) == 0;
    // DISCARD promises the whole buffer is rewritten: the upload then covers all of it.
    lockBegin_ = (flags & D3DLOCK_DISCARD) != 0 ? 0 : offset;
    lockEnd_ = (flags & D3DLOCK_DISCARD) != 0 ? bytes_.size() : end;
    *data = bytes_.data() + offset;
    return D3D_OK;
}

HRESULT GLBufferStore::unlock() {
    if (!locked_) {
        return D3DERR_INVALIDCALL;
    }
    locked_ = false;
    if (lockWrites_) {
        if (dirtyEnd_ <= dirtyBegin_) {
            dirtyBegin_ = lockBegin_;
            dirtyEnd_ = lockEnd_;
        } else {
            dirtyBegin_ = std::min(dirtyBegin_, lockBegin_);
            dirtyEnd_ = std::max(dirtyEnd_, lockEnd_);
        }
    }
    return D3D_OK;
}

GLuint GLBufferStore::prepareForDraw() {
    if (dirtyEnd_ > dirtyBegin_) {
        if (dirtyBegin_ == 0 && dirtyEnd_ == bytes_.size()) {
            // Orphan the old storage so a draw still reading it does not stall the upload.
            glNamedBufferData(name_, static_cast<GLsizeiptr>(bytes_.size()), bytes_.data(),
                              GL_DYNAMIC_DRAW);
        } else {
            glNamedBufferSubData(name_, static_cast<GLintptr>(dirtyBegin_),
                                 static_cast<GLsizeiptr>(dirtyEnd_ - dirtyBegin_),
                                 bytes_.data() + dirtyBegin_);
        }
        dirtyBegin_ = dirtyEnd_ = 0;
    }
    return name_;
}
