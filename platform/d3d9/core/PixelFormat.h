// What both devices need to know about surface formats: their size in memory and how a
// clear colour or depth value is written into one pixel, so that Clear and ColorFill leave the
// bytes a real device would.
#pragma once

#include <optional>

#include "platform/d3d9/d3d9.h"

class PixelFormat {
public:
    // 0 for formats a surface cannot have.
    static UINT bytesPerPixel(D3DFORMAT format);
    static bool isDepth(D3DFORMAT format);
    static bool hasStencil(D3DFORMAT format);

    static void writeColor(D3DFORMAT format, D3DCOLOR color, BYTE* pixel);
    // Leaves the part that is not given (depth or stencil) as it was.
    static void writeDepth(D3DFORMAT format, std::optional<float> depth,
                           std::optional<DWORD> stencil, BYTE* pixel);
};
