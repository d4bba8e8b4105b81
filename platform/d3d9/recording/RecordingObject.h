// What every object of the recording device shares: its stable name ("tex#3") and Direct3D's
// two kinds of reference.
//
// Public references are the AddRef/Release count the caller sees. While an object has any, it
// holds one reference on its device, as Direct3D objects do, so a device outlives what was made
// from it. Binding references are the device's own (a bound texture, render target, stream):
// they keep the object alive without showing in its public count. The object is destroyed when
// both reach zero. A surface of a texture level forwards both counts to its texture.
#pragma once

#include <string>

#include "platform/d3d9/d3d9.h"

class RecordingDevice;

class RecordingObject {
public:
    RecordingObject(RecordingDevice& device, std::string name);
    virtual ~RecordingObject() = default;
    RecordingObject(const RecordingObject&) = delete;
    RecordingObject& operator=(const RecordingObject&) = delete;

    const std::string& name() const { return name_; }
    RecordingDevice& device() const { return *device_; }
    ULONG publicRefs() const;

    ULONG addRef();
    ULONG release();
    void bind();
    void unbind();

protected:
    void forwardCountsTo(RecordingObject* container) { container_ = container; }
    HRESULT handOutDevice(IDirect3DDevice9** device);

private:
    RecordingDevice* device_;
    std::string name_;
    RecordingObject* container_ = nullptr;
    ULONG publicRefs_ = 0;
    ULONG bindRefs_ = 0;
};
