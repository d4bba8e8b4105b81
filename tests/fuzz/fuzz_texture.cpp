// Image files from untrusted bytes: the texture loader on the recording device must decode them
// or refuse them, with every mip level filled inside its locked rectangle.
#include <cstddef>
#include <cstdint>

#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3dx9/d3dx9.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Reference-counted: made with one reference, gone at its last Release.
    auto* device = new RecordingDevice();
    IDirect3DTexture9* texture = nullptr;
    D3DXCreateTextureFromFileInMemoryEx(
        device, data, static_cast<UINT>(size), D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
        D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture);
    if (texture != nullptr) {
        texture->Release();
    }
    device->Release();
    return 0;
}
