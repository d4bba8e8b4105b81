#include "platform/d3dx9/DecodedImage.h"

#include <climits>
#include <cstring>

#include "platform/d3dx9/DeclaredSizeCheck.h"
#include "platform/d3dx9/JpegDecoder.h"
#include "platform/d3dx9/PngDecoder.h"

// Static: other parts of the program may carry their own copy of stb_image.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

namespace fx {
namespace {

D3DXIMAGE_FILEFORMAT formatOf(const unsigned char* bytes, std::size_t size) {
    if (size >= 8 && std::memcmp(bytes, "\x89PNG", 4) == 0) {
        return D3DXIFF_PNG;
    }
    if (size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
        return D3DXIFF_JPG;
    }
    if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return D3DXIFF_BMP;
    }
    // TGA has no signature; stb_image tries it last as well.
    return D3DXIFF_TGA;
}

// BMP and TGA through stb_image, which trusts the header: it allocates what the header declares
// and reads what is there, leaving the rest zero or as the allocator gave it. Files too short
// for their declared pixels are refused first (DeclaredSizeCheck).
std::optional<DecodedImage> decodeWithStb(const stbi_uc* bytes, std::size_t size,
                                          D3DXIMAGE_FILEFORMAT format) {
    const int length = static_cast<int>(size);
    int width = 0;
    int height = 0;
    int channels = 0;
    if (stbi_info_from_memory(bytes, length, &width, &height, &channels) == 0 ||
        !DecodedImage::withinLimits(width, height) || channels < 1 || channels > 4 ||
        !DeclaredSizeCheck::fits(bytes, size, format, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height))) {
        return std::nullopt;
    }
    DecodedImage image;
    image.fileChannels = static_cast<unsigned>(channels);
    image.channels = channels == 1 ? 1 : 4;
    int decodedWidth = 0;
    int decodedHeight = 0;
    int ignored = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes, length, &decodedWidth, &decodedHeight, &ignored,
                                            static_cast<int>(image.channels));
    if (pixels == nullptr) {
        return std::nullopt;
    }
    // The header and the decoder agree for sound files; anything else is treated as corrupt.
    if (decodedWidth != width || decodedHeight != height) {
        stbi_image_free(pixels);
        return std::nullopt;
    }
    image.width = static_cast<unsigned>(width);
    image.height = static_cast<unsigned>(height);
    image.fileFormat = format;
    const std::size_t count = std::size_t{image.width} * image.height * image.channels;
    image.pixels.assign(pixels, pixels + count);
    stbi_image_free(pixels);
    return image;
}

}  // namespace

std::optional<DecodedImage> DecodedImage::decode(const void* data, std::size_t size) {
    if (data == nullptr || size == 0 || size > static_cast<std::size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    switch (const D3DXIMAGE_FILEFORMAT format = formatOf(bytes, size)) {
        case D3DXIFF_PNG:
            return PngDecoder::decode(bytes, size);
        case D3DXIFF_JPG:
            return JpegDecoder::decode(bytes, size);
        default:
            return decodeWithStb(bytes, size, format);
    }
}

bool DecodedImage::withinLimits(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           static_cast<std::size_t>(width) * static_cast<std::size_t>(height) <= kMaxPixels;
}

}  // namespace fx
