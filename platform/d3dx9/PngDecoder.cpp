#include "platform/d3dx9/PngDecoder.h"

#include <spng.h>

#include <memory>

namespace fx {

namespace {

struct ContextFreer {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextFreer>;

// Text, profiles and other ancillary chunks are never used: a file may not make the library
// hold more of them than this.
constexpr std::size_t kChunkLimit = std::size_t{16} << 20;

enum ColourType { kGrey = 0, kTrueColour = 2, kPalette = 3, kGreyAlpha = 4, kTrueColourAlpha = 6 };

unsigned fileChannels(const spng_ihdr& header, bool transparency) {
    switch (header.color_type) {
        case kGrey:
            return transparency ? 2 : 1;
        case kGreyAlpha:
            return 2;
        case kTrueColour:
        case kPalette:
            return transparency ? 4 : 3;
        default:
            return 4;
    }
}

Context openContext(const unsigned char* bytes, std::size_t size) {
    Context context(spng_ctx_new(0));
    if (!context || spng_set_png_buffer(context.get(), bytes, size) != 0 ||
        spng_set_image_limits(context.get(), DecodedImage::kMaxSide, DecodedImage::kMaxSide) != 0 ||
        spng_set_chunk_limits(context.get(), kChunkLimit, kChunkLimit) != 0 ||
        spng_set_crc_action(context.get(), SPNG_CRC_ERROR, SPNG_CRC_DISCARD) != 0) {
        return nullptr;
    }
    return context;
}

}  // namespace

std::optional<DecodedImage> PngDecoder::decode(const unsigned char* bytes, std::size_t size) {
    const Context context = openContext(bytes, size);
    spng_ihdr header{};
    if (!context || spng_get_ihdr(context.get(), &header) != 0 ||
        !DecodedImage::withinLimits(static_cast<long long>(header.width),
                                    static_cast<long long>(header.height))) {
        return std::nullopt;
    }
    spng_trns transparency{};
    const bool transparent = spng_get_trns(context.get(), &transparency) == 0;
    DecodedImage image;
    image.width = header.width;
    image.height = header.height;
    image.fileChannels = fileChannels(header, transparent);
    image.fileFormat = D3DXIFF_PNG;
    // The library's grey output takes grey files of up to 8 bits only; 16-bit grey comes as
    // RGBA and is taken back to one channel.
    const bool greyFile = image.fileChannels == 1;
    const bool greyOutput = greyFile && header.bit_depth <= 8;
    const int format = greyOutput ? SPNG_FMT_G8 : SPNG_FMT_RGBA8;
    const unsigned outputChannels = greyOutput ? 1 : 4;
    std::size_t length = 0;
    if (spng_decoded_image_size(context.get(), format, &length) != 0 ||
        length != std::size_t{image.width} * image.height * outputChannels) {
        return std::nullopt;
    }
    image.pixels.assign(length, 0);
    if (spng_decode_image(context.get(), image.pixels.data(), length, format,
                          greyOutput ? 0 : SPNG_DECODE_TRNS) != 0) {
        return std::nullopt;
    }
    image.channels = greyFile ? 1 : 4;
    if (greyFile && !greyOutput) {
        for (std::size_t i = 0; i < length / 4; ++i) {
            image.pixels[i] = image.pixels[i * 4];
        }
        image.pixels.resize(length / 4);
    }
    return image;
}

}  // namespace fx
