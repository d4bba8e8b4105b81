#include "platform/d3d9/core/PixelFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

float channel(D3DCOLOR color, unsigned shift) {
    return static_cast<float>((color >> shift) & 0xFFu) / 255.0f;
}

// IEEE half from a float in [0, 1]: colour channels never need infinities or denormals.
WORD toHalf(float value) {
    if (value <= 0.0f) {
        return 0;
    }
    int exponent = 0;
    const float mantissa = std::frexp(value, &exponent);  // value = mantissa * 2^exponent
    const int biased = exponent - 1 + 15;
    const auto fraction = static_cast<unsigned>(std::lround((mantissa * 2.0f - 1.0f) * 1024.0f));
    return static_cast<WORD>((biased << 10) + fraction);
}

template <class T>
void put(BYTE* pixel, unsigned index, T value) {
    std::memcpy(pixel + index * sizeof(T), &value, sizeof(T));
}

DWORD scaledDepth(float depth, double maximum) {
    return static_cast<DWORD>(
        std::lround(std::clamp(static_cast<double>(depth), 0.0, 1.0) * maximum));
}

}  // namespace

UINT PixelFormat::bytesPerPixel(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_A8:
        case D3DFMT_L8:
            return 1;
        case D3DFMT_A8L8:
        case D3DFMT_D16:
            return 2;
        case D3DFMT_R8G8B8:
            return 3;
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
        case D3DFMT_D32:
        case D3DFMT_D24S8:
        case D3DFMT_D24X8:
        case D3DFMT_R32F:
            return 4;
        case D3DFMT_A16B16G16R16F:
            return 8;
        case D3DFMT_A32B32G32R32F:
            return 16;
        default:
            return 0;
    }
}

bool PixelFormat::isDepth(D3DFORMAT format) {
    return format == D3DFMT_D16 || format == D3DFMT_D24S8 || format == D3DFMT_D24X8 ||
           format == D3DFMT_D32;
}

bool PixelFormat::hasStencil(D3DFORMAT format) {
    return format == D3DFMT_D24S8;
}

void PixelFormat::writeColor(D3DFORMAT format, D3DCOLOR color, BYTE* pixel) {
    const auto a = static_cast<BYTE>(color >> 24);
    const auto r = static_cast<BYTE>(color >> 16);
    const auto g = static_cast<BYTE>(color >> 8);
    const auto b = static_cast<BYTE>(color);
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
            put<DWORD>(pixel, 0, color);
            break;
        case D3DFMT_R8G8B8:
            pixel[0] = b;
            pixel[1] = g;
            pixel[2] = r;
            break;
        case D3DFMT_A8:
            pixel[0] = a;
            break;
        case D3DFMT_L8:
            pixel[0] = r;
            break;
        case D3DFMT_A8L8:
            pixel[0] = r;
            pixel[1] = a;
            break;
        case D3DFMT_R32F:
            put<float>(pixel, 0, channel(color, 16));
            break;
        case D3DFMT_A16B16G16R16F:
            put<WORD>(pixel, 0, toHalf(channel(color, 16)));
            put<WORD>(pixel, 1, toHalf(channel(color, 8)));
            put<WORD>(pixel, 2, toHalf(channel(color, 0)));
            put<WORD>(pixel, 3, toHalf(channel(color, 24)));
            break;
        case D3DFMT_A32B32G32R32F:
            put<float>(pixel, 0, channel(color, 16));
            put<float>(pixel, 1, channel(color, 8));
            put<float>(pixel, 2, channel(color, 0));
            put<float>(pixel, 3, channel(color, 24));
            break;
        default:
            break;
    }
}

void PixelFormat::writeDepth(D3DFORMAT format, std::optional<float> depth,
                             std::optional<DWORD> stencil, BYTE* pixel) {
    switch (format) {
        case D3DFMT_D16:
            if (depth) {
                put<WORD>(pixel, 0, static_cast<WORD>(scaledDepth(*depth, 65535.0)));
            }
            break;
        case D3DFMT_D32:
            if (depth) {
                put<DWORD>(pixel, 0, scaledDepth(*depth, 4294967295.0));
            }
            break;
        case D3DFMT_D24S8:
        case D3DFMT_D24X8: {
            // Depth in the upper 24 bits, stencil in the low byte.
            DWORD value = 0;
            std::memcpy(&value, pixel, sizeof value);
            if (depth) {
                value = (value & 0xFFu) | (scaledDepth(*depth, 16777215.0) << 8);
            }
            if (stencil && format == D3DFMT_D24S8) {
                value = (value & ~0xFFu) | (*stencil & 0xFFu);
            }
            put<DWORD>(pixel, 0, value);
            break;
        }
        default:
            break;
    }
}
