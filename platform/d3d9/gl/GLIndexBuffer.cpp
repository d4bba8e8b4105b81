#include "platform/d3d9/gl/GLIndexBuffer.h"

#include "platform/d3d9/gl/GLDevice.h"

GLIndexBuffer::GLIndexBuffer(GLDevice& device, const D3DINDEXBUFFER_DESC& desc)
    : GLRefCounted(device, Ownership::Caller),
      desc_(desc),
      store_(desc.Size, GLBufferStore::Content::Indices) {}

HRESULT GLIndexBuffer::GetDevice(IDirect3DDevice9** device) {
    if (device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *device = &this->device();
    (*device)->AddRef();
    return D3D_OK;
}

HRESULT GLIndexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    auto scope = device().lockOnly();
    return store_.lock(offset, size, data, flags);
}

HRESULT GLIndexBuffer::Unlock() {
    auto scope = device().lockOnly();
    return store_.unlock();
}

HRESULT GLIndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
    if (desc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *desc = desc_;
    return D3D_OK;
}
