// A index buffer: locked and filled by the CPU, uploaded before the next draw that uses it.
#pragma once

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GLBufferStore.h"
#include "platform/d3d9/gl/GLRefCounted.h"

class GLIndexBuffer final : public IDirect3DIndexBuffer9, public GLRefCounted {
public:
    GLIndexBuffer(GLDevice& device, const D3DINDEXBUFFER_DESC& desc);
    ~GLIndexBuffer() override = default;

    ULONG AddRef() override { return addPublicRef(); }
    ULONG Release() override { return releasePublicRef(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override;

    bool valid() const { return store_.valid(); }
    GLBufferStore& store() { return store_; }
    const D3DINDEXBUFFER_DESC& desc() const { return desc_; }

private:
    D3DINDEXBUFFER_DESC desc_;
    GLBufferStore store_;
};
