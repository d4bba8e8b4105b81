#include "platform/d3dx9/DeclaredSizeCheck.h"

#include <algorithm>

namespace fx {

namespace {

constexpr std::uint64_t kTgaHeader = 18;
constexpr std::uint64_t kTgaRunLength = 128;

// Past the end of the data the header reads as zeros, as the decoder reads it.
unsigned byteAt(const unsigned char* bytes, std::size_t size, std::size_t pos) {
    return pos < size ? bytes[pos] : 0u;
}

std::uint64_t little16(const unsigned char* bytes, std::size_t size, std::size_t pos) {
    return byteAt(bytes, size, pos) | byteAt(bytes, size, pos + 1) << 8;
}

std::uint64_t little32(const unsigned char* bytes, std::size_t size, std::size_t pos) {
    return little16(bytes, size, pos) | little16(bytes, size, pos + 2) << 16;
}

std::uint64_t bytesForBits(std::uint64_t bits) {
    return (bits + 7) / 8;
}

}  // namespace

std::uint64_t DeclaredSizeCheck::minimumFileSize(const unsigned char* bytes, std::size_t size,
                                                 D3DXIMAGE_FILEFORMAT format, unsigned width,
                                                 unsigned height) {
    switch (format) {
        case D3DXIFF_BMP:
            return bmp(bytes, size, width, height);
        case D3DXIFF_TGA:
            return tga(bytes, size, std::uint64_t{width} * height);
        case D3DXIFF_JPG:
            return jpeg(width, height);
        default:
            return 0;
    }
}

// The pixels start at the header's offset; every row but the last is padded to four bytes.
std::uint64_t DeclaredSizeCheck::bmp(const unsigned char* bytes, std::size_t size,
                                     std::uint64_t width, std::uint64_t height) {
    const std::uint64_t offset = little32(bytes, size, 10);
    const std::uint64_t headerSize = little32(bytes, size, 14);
    const std::uint64_t bitsPerPixel =
        std::max<std::uint64_t>(1, little16(bytes, size, headerSize == 12 ? 24 : 28));
    const std::uint64_t row = bytesForBits(width * bitsPerPixel);
    const std::uint64_t paddedRow = (row + 3) / 4 * 4;
    return height == 0 ? offset : offset + paddedRow * (height - 1) + row;
}

// Image types 1 to 3 store every pixel; 9 to 11 store runs of at most 128 pixels, each with a
// one-byte count and at least one pixel.
std::uint64_t DeclaredSizeCheck::tga(const unsigned char* bytes, std::size_t size,
                                     std::uint64_t pixels) {
    const std::uint64_t idLength = byteAt(bytes, size, 0);
    const bool colourMapped = byteAt(bytes, size, 1) != 0;
    const unsigned imageType = byteAt(bytes, size, 2);
    const std::uint64_t paletteBytes =
        colourMapped ? little16(bytes, size, 5) * bytesForBits(byteAt(bytes, size, 7)) : 0;
    const std::uint64_t pixelBytes =
        std::max<std::uint64_t>(1, bytesForBits(byteAt(bytes, size, 16)));
    const std::uint64_t header = kTgaHeader + idLength + paletteBytes;
    if (imageType >= 9) {
        return header + (pixels + kTgaRunLength - 1) / kTgaRunLength * (1 + pixelBytes);
    }
    return header + pixels * pixelBytes;
}

std::uint64_t DeclaredSizeCheck::jpeg(std::uint64_t width, std::uint64_t height) {
    const std::uint64_t blocks = (width + 7) / 8 * ((height + 7) / 8);
    return blocks / 8;
}

}  // namespace fx
