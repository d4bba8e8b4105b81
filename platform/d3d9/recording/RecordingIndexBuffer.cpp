#include "platform/d3d9/recording/RecordingIndexBuffer.h"

#include <cstring>

#include "platform/d3d9/recording/D3DNames.h"
#include "platform/d3d9/recording/RecordingDevice.h"

RecordingIndexBuffer::RecordingIndexBuffer(RecordingDevice& device, std::string name,
                                           const D3DINDEXBUFFER_DESC& desc)
    : RecordingObject(device, std::move(name)), desc_(desc), memory_(desc.Size) {}

HRESULT RecordingIndexBuffer::GetDevice(IDirect3DDevice9** device) {
    return handOutDevice(device);
}

HRESULT RecordingIndexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    auto guard = device().lock();
    HRESULT hr = device().planned("Lock");
    if (SUCCEEDED(hr)) {
        hr = memory_.lock(offset, size, data);
    }
    return device().record("Lock",
                           name() + ".Lock(" + std::to_string(offset) + ", " +
                               std::to_string(size) + ", " + D3DNames::lockFlags(flags) + ")",
                           hr);
}

HRESULT RecordingIndexBuffer::Unlock() {
    auto guard = device().lock();
    HRESULT hr = device().planned("Unlock");
    if (SUCCEEDED(hr)) {
        hr = memory_.unlock();
    }
    return device().record("Unlock", name() + ".Unlock()", hr);
}

HRESULT RecordingIndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
    auto guard = device().lock();
    HRESULT hr = device().planned("GetDesc");
    if (SUCCEEDED(hr) && desc == nullptr) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        *desc = desc_;
    }
    return device().record("GetDesc", name() + ".GetDesc()", hr, true);
}

DWORD RecordingIndexBuffer::index(UINT position) const {
    if (position >= indexCount()) {
        return 0;
    }
    DWORD value = 0;
    std::memcpy(&value, memory_.bytes().data() + position * indexSize(), indexSize());
    return value;
}
