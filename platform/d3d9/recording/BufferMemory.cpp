#include "platform/d3d9/recording/BufferMemory.h"

HRESULT BufferMemory::lock(UINT offset, UINT size, void** data) {
    if (data == nullptr || offset > bytes_.size() ||
        static_cast<std::size_t>(size) > bytes_.size() - offset) {
        return D3DERR_INVALIDCALL;
    }
    *data = bytes_.data() + offset;
    ++locks_;
    return D3D_OK;
}

HRESULT BufferMemory::unlock() {
    if (locks_ == 0) {
        return D3DERR_INVALIDCALL;
    }
    --locks_;
    return D3D_OK;
}
