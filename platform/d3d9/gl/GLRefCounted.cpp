#include "platform/d3d9/gl/GLRefCounted.h"

#include "platform/d3d9/gl/GLDevice.h"

GLRefCounted::GLRefCounted(GLDevice& device, Ownership ownership)
    : device_(&device),
      public_(ownership == Ownership::Caller ? 1 : 0),
      internal_(ownership == Ownership::Device ? 1 : 0) {
    if (ownership == Ownership::Caller) {
        device_->AddRef();
    }
}

HRESULT GLRefCounted::handOutDevice(IDirect3DDevice9** device) const {
    if (device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *device = device_;
    (*device)->AddRef();
    return D3D_OK;
}

ULONG GLRefCounted::addPublicRef() {
    auto scope = device_->lockOnly();
    if (public_++ == 0) {
        device_->AddRef();
    }
    return public_;
}

ULONG GLRefCounted::releasePublicRef() {
    GLDevice* device = device_;
    device->AddRef();  // keeps the device (and its lock) alive through this call
    ULONG left = 0;
    bool dropDevice = false;
    {
        auto scope = device->enter();
        if (public_ == 0) {
            left = 0;
        } else {
            left = --public_;
            dropDevice = left == 0;
            destroyIfUnreferenced();
        }
    }
    if (dropDevice) {
        device->Release();
    }
    device->Release();
    return left;
}

void GLRefCounted::addInternalRef() {
    ++internal_;
}

void GLRefCounted::releaseInternalRef() {
    if (internal_ > 0) {
        --internal_;
        destroyIfUnreferenced();
    }
}

void GLRefCounted::destroyIfUnreferenced() {
    if (public_ == 0 && internal_ == 0) {
        delete this;
    }
}
