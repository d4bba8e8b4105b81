#include "platform/d3dx9/JpegDecoder.h"

#include <turbojpeg.h>

#include <memory>

#include "platform/d3dx9/DeclaredSizeCheck.h"

namespace fx {

namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// A progressive file of thousands of tiny scans costs minutes of decoding for one picture; the
// library refuses more than a sane number of them.
constexpr int kDecodeFlags = TJFLAG_LIMITSCANS;

}  // namespace

std::optional<DecodedImage> JpegDecoder::decode(const unsigned char* bytes, std::size_t size) {
    const Handle handle(tjInitDecompress());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (!handle || tjDecompressHeader3(handle.get(), bytes, size, &width, &height, &subsampling,
                                       &colorspace) != 0) {
        return std::nullopt;
    }
    // The library decodes data cut short as grey to the declared size; a tiny file must not
    // cost the work and memory of a huge picture.
    if (!DecodedImage::withinLimits(width, height) ||
        !DeclaredSizeCheck::fits(bytes, size, D3DXIFF_JPG, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height))) {
        return std::nullopt;
    }
    const bool grey = colorspace == TJCS_GRAY;
    const bool cmyk = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
    DecodedImage image;
    image.width = static_cast<unsigned>(width);
    image.height = static_cast<unsigned>(height);
    image.channels = grey ? 1 : 4;
    image.fileChannels = grey ? 1 : 3;
    image.fileFormat = D3DXIFF_JPG;
    image.pixels.assign(std::size_t{image.width} * image.height * image.channels, 0);
    const int format = grey ? TJPF_GRAY : cmyk ? TJPF_CMYK : TJPF_RGBA;
    // A warning (corrupt or missing data) still gives every row of the picture.
    if (tjDecompress2(handle.get(), bytes, size, image.pixels.data(), width, 0, height, format,
                      kDecodeFlags) != 0 &&
        tjGetErrorCode(handle.get()) != TJERR_WARNING) {
        return std::nullopt;
    }
    if (cmyk) {
        cmykToRgba(image.pixels);
    }
    return image;
}

void JpegDecoder::cmykToRgba(std::vector<std::uint8_t>& pixels) {
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        const unsigned k = pixels[i + 3];
        for (std::size_t c = 0; c < 3; ++c) {
            pixels[i + c] = static_cast<std::uint8_t>((pixels[i + c] * k + 127) / 255);
        }
        pixels[i + 3] = 0xFF;
    }
}

}  // namespace fx
