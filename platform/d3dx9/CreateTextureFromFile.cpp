// D3DXCreateTextureFromFileInMemoryEx over any device: decode (DecodedImage), convert to the
// texture format, build the mip chain on the CPU with a box filter, create the texture with
// CreateTexture and fill every level through LockRect/UnlockRect.
//
// This project keeps the image's own size for D3DX_DEFAULT (no rounding up to a power of two).
// The filter arguments are not distinguished: every resampling is a box filter. No palette is
// written.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "platform/d3d9/core/DeviceRules.h"
#include "platform/d3dx9/BoxFilter.h"
#include "platform/d3dx9/DecodedImage.h"
#include "platform/d3dx9/d3dx9.h"

namespace {

bool takesFileSize(UINT size) {
    return size == 0 || size == D3DX_DEFAULT || size == D3DX_DEFAULT_NONPOW2 ||
           size == D3DX_FROM_FILE;
}

// D3DFMT_UNKNOWN and D3DX_DEFAULT ask for the file's format; formats this loader cannot write
// are replaced by the closest one it can, as D3DX does.
D3DFORMAT textureFormat(D3DFORMAT requested, const fx::DecodedImage& image) {
    if (requested == D3DFMT_L8 || requested == D3DFMT_X8R8G8B8 || requested == D3DFMT_A8R8G8B8) {
        return requested;
    }
    return image.channels == 1 ? D3DFMT_L8 : D3DFMT_A8R8G8B8;
}

D3DFORMAT fileFormat(const fx::DecodedImage& image) {
    switch (image.fileChannels) {
        case 1:
            return D3DFMT_L8;
        case 2:
            return D3DFMT_A8L8;
        case 3:
            return D3DFMT_X8R8G8B8;
        default:
            return D3DFMT_A8R8G8B8;
    }
}

// One level's pixels in the texture's memory layout: A8R8G8B8 is B, G, R, A in memory.
std::vector<std::uint8_t> toTexels(const std::vector<std::uint8_t>& pixels, unsigned channels,
                                   D3DFORMAT format, D3DCOLOR colorKey) {
    const std::size_t count = pixels.size() / channels;
    if (format == D3DFMT_L8) {
        if (channels == 1) {
            return pixels;
        }
        std::vector<std::uint8_t> grey(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* p = &pixels[i * 4];
            grey[i] =
                static_cast<std::uint8_t>((299u * p[0] + 587u * p[1] + 114u * p[2] + 500u) / 1000u);
        }
        return grey;
    }
    std::vector<std::uint8_t> texels(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &pixels[i * channels];
        const std::uint8_t r = p[0];
        const std::uint8_t g = channels == 1 ? p[0] : p[1];
        const std::uint8_t b = channels == 1 ? p[0] : p[2];
        const std::uint8_t a = format == D3DFMT_X8R8G8B8 || channels == 1 ? 0xFF : p[3];
        std::uint8_t* t = &texels[i * 4];
        // The colour key turns matching opaque pixels into transparent black.
        if (colorKey != 0 && D3DCOLOR_ARGB(a, r, g, b) == colorKey) {
            std::memset(t, 0, 4);
            continue;
        }
        t[0] = b;
        t[1] = g;
        t[2] = r;
        t[3] = a;
    }
    return texels;
}

HRESULT fillLevel(IDirect3DTexture9* texture, UINT level, const std::vector<std::uint8_t>& texels,
                  unsigned width, unsigned height, unsigned bytesPerTexel) {
    D3DLOCKED_RECT locked{};
    HRESULT result = texture->LockRect(level, &locked, nullptr, 0);
    if (FAILED(result)) {
        return result;
    }
    const std::size_t rowBytes = std::size_t{width} * bytesPerTexel;
    if (locked.pBits == nullptr || locked.Pitch < static_cast<INT>(rowBytes)) {
        texture->UnlockRect(level);
        return E_FAIL;
    }
    auto* destination = static_cast<std::uint8_t*>(locked.pBits);
    for (unsigned y = 0; y < height; ++y) {
        std::memcpy(destination + std::size_t{y} * static_cast<std::size_t>(locked.Pitch),
                    &texels[y * rowBytes], rowBytes);
    }
    return texture->UnlockRect(level);
}

// Every level from the image, each smaller level box-filtered from the one above it.
HRESULT fillLevels(IDirect3DTexture9* texture, const fx::DecodedImage& image, UINT width,
                   UINT height, UINT levels, D3DFORMAT format, D3DCOLOR colorKey) {
    HRESULT result = D3D_OK;
    const unsigned bytesPerTexel = format == D3DFMT_L8 ? 1 : 4;
    std::vector<std::uint8_t> pixels = image.pixels;
    unsigned levelWidth = image.width;
    unsigned levelHeight = image.height;
    for (UINT level = 0; level < levels && SUCCEEDED(result); ++level) {
        const unsigned w = std::max(1u, width >> level);
        const unsigned h = std::max(1u, height >> level);
        if (w != levelWidth || h != levelHeight) {
            pixels = fx::BoxFilter::resample(pixels, levelWidth, levelHeight, image.channels, w, h);
            levelWidth = w;
            levelHeight = h;
        }
        const auto texels = toTexels(pixels, image.channels, format, colorKey);
        result = fillLevel(texture, level, texels, w, h, bytesPerTexel);
    }
    return result;
}

HRESULT createTexture(IDirect3DDevice9* device, const fx::DecodedImage& image, UINT width,
                      UINT height, UINT mipLevels, DWORD usage, D3DFORMAT requestedFormat,
                      D3DPOOL pool, D3DCOLOR colorKey, IDirect3DTexture9** texture) {
    const D3DFORMAT format = textureFormat(requestedFormat, image);
    const unsigned fullChain = DeviceRules::fullMipChain(width, height);
    UINT levels = fullChain;
    if (mipLevels == D3DX_FROM_FILE) {
        levels = 1;
    } else if (mipLevels != 0 && mipLevels != D3DX_DEFAULT) {
        levels = std::min<UINT>(mipLevels, fullChain);
    }
    IDirect3DTexture9* created = nullptr;
    HRESULT result =
        device->CreateTexture(width, height, levels, usage, format, pool, &created, nullptr);
    if (FAILED(result) || created == nullptr) {
        return FAILED(result) ? result : E_FAIL;
    }
    // Direct3D locks no default-pool texture without dynamic usage: such a texture is filled
    // through a system-memory copy and UpdateTexture.
    IDirect3DTexture9* staging = nullptr;
    if (!DeviceRules::textureLockable(pool, usage)) {
        result = device->CreateTexture(width, height, levels, 0, format, D3DPOOL_SYSTEMMEM,
                                       &staging, nullptr);
        if (SUCCEEDED(result) && staging == nullptr) {
            result = E_FAIL;
        }
    }
    if (SUCCEEDED(result)) {
        result = fillLevels(staging != nullptr ? staging : created, image, width, height, levels,
                            format, colorKey);
    }
    if (SUCCEEDED(result) && staging != nullptr) {
        result = device->UpdateTexture(staging, created);
    }
    if (staging != nullptr) {
        staging->Release();
    }
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *texture = created;
    return D3D_OK;
}

}  // namespace

HRESULT D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice9* device, const void* data,
                                            UINT dataSize, UINT width, UINT height, UINT mipLevels,
                                            DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                            DWORD /*filter*/, DWORD /*mipFilter*/,
                                            D3DCOLOR colorKey, D3DXIMAGE_INFO* sourceInfo,
                                            PALETTEENTRY* /*palette*/,
                                            IDirect3DTexture9** texture) {
    if (texture != nullptr) {
        *texture = nullptr;
    }
    if (device == nullptr || data == nullptr || dataSize == 0 || texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    try {
        const auto image = fx::DecodedImage::decode(data, dataSize);
        if (!image) {
            return D3DXERR_INVALIDDATA;
        }
        const UINT textureWidth = takesFileSize(width) ? image->width : width;
        const UINT textureHeight = takesFileSize(height) ? image->height : height;
        if (textureWidth > fx::DecodedImage::kMaxSide ||
            textureHeight > fx::DecodedImage::kMaxSide) {
            return D3DERR_INVALIDCALL;
        }
        if (sourceInfo != nullptr) {
            *sourceInfo =
                D3DXIMAGE_INFO{image->width,     image->height,    1, 1, fileFormat(*image),
                               D3DRTYPE_TEXTURE, image->fileFormat};
        }
        return createTexture(device, *image, textureWidth, textureHeight, mipLevels, usage, format,
                             pool, colorKey, texture);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
