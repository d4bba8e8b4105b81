// A vertex or index buffer of the recording device: its description and real memory behind
// Lock. The two buffer kinds differ only in their interface and description type.
#pragma once

#include <string>
#include <utility>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/recording/BufferMemory.h"
#include "platform/d3d9/recording/D3DNames.h"
#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3d9/recording/RecordingObject.h"

template <typename Interface, typename Description, D3DRESOURCETYPE kType>
class RecordingBuffer : public Interface, public RecordingObject {
public:
    RecordingBuffer(RecordingDevice& device, std::string name, const Description& desc)
        : RecordingObject(device, std::move(name)), desc_(desc), memory_(desc.Size) {}

    ULONG AddRef() override { return addRef(); }
    ULONG Release() override { return release(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override { return handOutDevice(device); }
    D3DRESOURCETYPE GetType() override { return kType; }

    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override {
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

    HRESULT Unlock() override {
        auto guard = device().lock();
        HRESULT hr = device().planned("Unlock");
        if (SUCCEEDED(hr)) {
            hr = memory_.unlock();
        }
        return device().record("Unlock", name() + ".Unlock()", hr);
    }

    HRESULT GetDesc(Description* desc) override {
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

    const Description& desc() const { return desc_; }
    const BufferMemory& memory() const { return memory_; }

private:
    Description desc_;
    BufferMemory memory_;
};
