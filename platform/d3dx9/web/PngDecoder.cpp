// PNG files in the browser build (see StbImageDecoder).
#include "platform/d3dx9/PngDecoder.h"

#include "platform/d3dx9/web/StbImageDecoder.h"

namespace fx {

std::optional<DecodedImage> PngDecoder::decode(const unsigned char* bytes, std::size_t size) {
    return StbImageDecoder::decode(bytes, size, D3DXIFF_PNG);
}

}  // namespace fx
