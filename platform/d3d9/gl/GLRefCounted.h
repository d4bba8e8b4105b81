// Reference counting shared by every object the OpenGL device hands out.
//
// Two counts, as Direct3D keeps them: the public count (AddRef/Release by the caller) and the
// internal count (the device's own bindings: a bound texture, render target, buffer). Only public
// references keep the device alive, so a device released while something is still bound is
// destroyed and drops its bindings, instead of both keeping each other alive for ever. The
// object is deleted when both counts reach zero. All counting happens under the device lock.
#pragma once

#include "platform/d3d9/d3d9.h"

class GLDevice;

class GLRefCounted {
public:
    GLRefCounted(const GLRefCounted&) = delete;
    GLRefCounted& operator=(const GLRefCounted&) = delete;

    ULONG addPublicRef();
    ULONG releasePublicRef();
    void addInternalRef();
    void releaseInternalRef();

    GLDevice& device() const { return *device_; }
    // GetDevice of every object: the device with a reference added for the caller.
    HRESULT handOutDevice(IDirect3DDevice9** device) const;

protected:
    enum class Ownership { Caller, Device, Container };
    // Caller: one public reference, which holds a device reference. Device: one internal
    // reference (the device's own objects). Container: never counted (texture levels).
    GLRefCounted(GLDevice& device, Ownership ownership);
    virtual ~GLRefCounted() = default;

private:
    void destroyIfUnreferenced();

    GLDevice* device_;
    ULONG public_;
    ULONG internal_;
};
