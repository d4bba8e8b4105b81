#include "platform/d3d9/recording/RecordingVertexBuffer.h"

#include "platform/d3d9/recording/D3DNames.h"
#include "platform/d3d9/recording/RecordingDevice.h"

RecordingVertexBuffer::RecordingVertexBuffer(RecordingDevice& device, std::string name,
                                             const D3DVERTEXBUFFER_DESC& desc)
    : RecordingObject(device, std::move(name)), desc_(desc), memory_(desc.Size) {}

HRESULT RecordingVertexBuffer::GetDevice(IDirect3DDevice9** device) {
    return handOutDevice(device);
}

HRESULT RecordingVertexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags) {
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

HRESULT RecordingVertexBuffer::Unlock() {
    auto guard = device().lock();
    HRESULT hr = device().planned("Unlock");
    if (SUCCEEDED(hr)) {
        hr = memory_.unlock();
    }
    return device().record("Unlock", name() + ".Unlock()", hr);
}

HRESULT RecordingVertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
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
