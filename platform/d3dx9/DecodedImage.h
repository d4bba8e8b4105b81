// An image file decoded into memory: JPEG (JpegDecoder), PNG (PngDecoder), BMP or TGA (stb_image),
// top row first, with one byte per pixel for grey images and four (R, G, B, A) for everything
// else. Pixels are written into zeroed memory: nothing of a decoded image comes from memory
// that no decoder wrote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/d3dx9/d3dx9.h"

namespace fx {

struct DecodedImage {
    // Guards against images that would exhaust memory: each side and the pixel count are bounded
    // before anything is decoded. 16384 is the smallest maximum texture size an OpenGL 4.5
    // device may have.
    static constexpr unsigned kMaxSide = 16384;
    static constexpr std::size_t kMaxPixels = std::size_t{1} << 26;

    unsigned width = 0;
    unsigned height = 0;
    unsigned channels = 0;      // 1 (grey) or 4 (RGBA)
    unsigned fileChannels = 0;  // as stored in the file: 1 to 4
    D3DXIMAGE_FILEFORMAT fileFormat = D3DXIFF_BMP;
    std::vector<std::uint8_t> pixels;

    // Nothing when the bytes are not an image of a supported format or are too large.
    static std::optional<DecodedImage> decode(const void* data, std::size_t size);

    // Whether a picture of that size may be decoded at all.
    static bool withinLimits(long long width, long long height);
};

}  // namespace fx
