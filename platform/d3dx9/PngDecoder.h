// PNG files decoded by libspng: every bit depth and colour type, palettes and interlacing, with
// their transparency applied; grey images without transparency stay one channel, everything
// else becomes RGBA (16-bit samples keep their high byte). A damaged file, one whose critical
// chunks fail their checksums included, creates nothing; an ancillary chunk with a bad checksum
// is left out, as other PNG readers do.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/d3dx9/DecodedImage.h"

namespace fx {

class PngDecoder {
public:
    static std::optional<DecodedImage> decode(const unsigned char* bytes, std::size_t size);
};

}  // namespace fx
