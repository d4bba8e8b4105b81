#include "platform/d3d9/gl/GLVertexBuffer.h"

#include "platform/d3d9/gl/GLDevice.h"

GLVertexBuffer::GLVertexBuffer(GLDevice& device, const D3DVERTEXBUFFER_DESC& desc)
    : GLRefCounted(device, Ownership::Caller),
      desc_(desc),
      store_(desc.Size, GLBufferStore::Content::Vertices) {}

HRESULT GLVertexBuffer::GetDevice(IDirect3DDevice9** device) {
    if (device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *device = &this->device();
    (*device)->AddRef();
    return D3D_OK;
}

HRESULT GLVertexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    auto scope = device().lockOnly();
    return store_.lock(offset, size, data, flags);
}

HRESULT GLVertexBuffer::Unlock() {
    auto scope = device().lockOnly();
    return store_.unlock();
}

HRESULT GLVertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (desc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *desc = desc_;
    return D3D_OK;
}
