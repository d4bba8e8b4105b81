// JPEG files decoded by libjpeg-turbo (its TurboJPEG interface): baseline, progressive and
// arithmetic-coded files; grey images stay one channel, colour and CMYK ones become RGBA.
//
// Damaged data that the library can still read to the end (scans missing, data cut short,
// corrupt entropy data) decodes as far as it goes, the rest of the picture as the library fills
// it; the output is written into zeroed memory, so the result is the same on every run. Files
// the library refuses (12-bit and lossless ones, bad headers) create nothing.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/d3dx9/DecodedImage.h"

namespace fx {

class JpegDecoder {
public:
    static std::optional<DecodedImage> decode(const unsigned char* bytes, std::size_t size);

private:
    // CMYK as JPEG files store it (inverted, as Adobe writes it) to RGB with alpha 255, in place.
    static void cmykToRgba(std::vector<std::uint8_t>& pixels);
};

}  // namespace fx
