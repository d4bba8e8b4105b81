// A vertex or index buffer: locked and filled by the CPU, uploaded before the next draw that
// uses it. The two buffer kinds differ only in their interface, description and content.
#pragma once

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GLBufferStore.h"
#include "platform/d3d9/gl/GLDevice.h"
#include "platform/d3d9/gl/GLRefCounted.h"

template <typename Interface, typename Description, D3DRESOURCETYPE kType,
          GLBufferStore::Content kContent>
class GLBuffer : public Interface, public GLRefCounted {
public:
    GLBuffer(GLDevice& device, const Description& desc)
        : GLRefCounted(device, Ownership::Caller), desc_(desc), store_(desc.Size, kContent) {}

    ULONG AddRef() override { return addPublicRef(); }
    ULONG Release() override { return releasePublicRef(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override { return handOutDevice(device); }
    D3DRESOURCETYPE GetType() override { return kType; }

    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override {
        auto scope = device().lockOnly();
        return store_.lock(offset, size, data, flags);
    }

    HRESULT Unlock() override {
        auto scope = device().lockOnly();
        return store_.unlock();
    }

    HRESULT GetDesc(Description* desc) override {
        if (desc == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *desc = desc_;
        return D3D_OK;
    }

    bool valid() const { return store_.valid(); }
    GLBufferStore& store() { return store_; }
    const Description& desc() const { return desc_; }

private:
    Description desc_;
    GLBufferStore store_;
};
