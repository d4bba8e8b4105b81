#include "platform/d3d9/recording/RecordingObject.h"

#include "platform/d3d9/recording/RecordingDevice.h"

RecordingObject::RecordingObject(RecordingDevice& device, std::string name)
    : device_(&device), name_(std::move(name)) {}

ULONG RecordingObject::publicRefs() const {
    return container_ ? container_->publicRefs() : publicRefs_;
}

ULONG RecordingObject::addRef() {
    if (container_) {
        return container_->addRef();
    }
    auto guard = device_->lock();
    if (publicRefs_++ == 0) {
        device_->AddRef();
    }
    return publicRefs_;
}

ULONG RecordingObject::release() {
    if (container_) {
        return container_->release();
    }
    RecordingDevice* device = device_;
    ULONG left = 0;
    {
        auto guard = device->lock();
        if (publicRefs_ == 0) {
            // A release the caller does not own: a real device would free memory still in use.
            device->noteOverRelease(name_);
            return 0;
        }
        left = --publicRefs_;
        if (left == 0 && bindRefs_ == 0) {
            device->destroyObject(this);  // this is gone from here on
        }
    }
    if (left == 0) {
        device->Release();
    }
    return left;
}

void RecordingObject::bind() {
    if (container_) {
        container_->bind();
        return;
    }
    ++bindRefs_;
}

void RecordingObject::unbind() {
    if (container_) {
        container_->unbind();
        return;
    }
    if (--bindRefs_ == 0 && publicRefs_ == 0) {
        device_->destroyObject(this);
    }
}

HRESULT RecordingObject::handOutDevice(IDirect3DDevice9** device) {
    if (device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    device_->AddRef();
    *device = device_;
    return D3D_OK;
}
