// Refuses image files too short for the pixels their header declares, before anything is
// allocated for them. The decoders trust the header: they take width x height pixels and then
// read what is there, filling the rest with zeros (BMP, RLE TGA), grey (JPEG) or leaving it as
// the allocator handed it over (uncompressed TGA), and report success. A 30-byte file claiming
// 8192 x 8192 pixels would cost a quarter of a gigabyte and seconds of decoding, and come out as
// garbage. (PNG needs no floor: its decoder fails as soon as the compressed data runs out.)
//
// Each format has a floor on the bytes its pixels take: uncompressed rows take their full size,
// run-length packets cover at most 128 pixels, and a complete JPEG spends at least one bit on
// every 8 x 8 block of its full-resolution component. Files that reach the floor are left to the
// decoder; it still rejects what it cannot read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/d3dx9/d3dx9.h"

namespace fx {

class DeclaredSizeCheck {
public:
    // The fewest bytes a complete file of this format holds for width x height pixels, with the
    // pixel layout its header gives.
    static std::uint64_t minimumFileSize(const unsigned char* bytes, std::size_t size,
                                         D3DXIMAGE_FILEFORMAT format, unsigned width,
                                         unsigned height);

    static bool fits(const unsigned char* bytes, std::size_t size, D3DXIMAGE_FILEFORMAT format,
                     unsigned width, unsigned height) {
        return size >= minimumFileSize(bytes, size, format, width, height);
    }

private:
    static std::uint64_t bmp(const unsigned char* bytes, std::size_t size, std::uint64_t width,
                             std::uint64_t height);
    static std::uint64_t tga(const unsigned char* bytes, std::size_t size, std::uint64_t pixels);
    static std::uint64_t jpeg(std::uint64_t width, std::uint64_t height);
};

}  // namespace fx
