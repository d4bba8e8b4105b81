#include "platform/d3dx9/web/StbImageDecoder.h"

#include <climits>
#include <cstring>

// Static: the BMP and TGA reader carries its own copy of stb_image.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

namespace fx {

std::optional<DecodedImage> StbImageDecoder::decode(const unsigned char* bytes, std::size_t size,
                                                    D3DXIMAGE_FILEFORMAT fileFormat) {
    int w = 0;
    int h = 0;
    int stored = 0;
    if (size > INT_MAX ||
        stbi_info_from_memory(bytes, static_cast<int>(size), &w, &h, &stored) == 0 ||
        !DecodedImage::withinLimits(w, h)) {
        return std::nullopt;
    }
    const int channels = stored == 1 ? 1 : 4;
    stbi_uc* pixels =
        stbi_load_from_memory(bytes, static_cast<int>(size), &w, &h, &stored, channels);
    if (pixels == nullptr) {
        return std::nullopt;
    }
    DecodedImage image;
    image.width = static_cast<unsigned>(w);
    image.height = static_cast<unsigned>(h);
    image.channels = static_cast<unsigned>(channels);
    image.fileChannels = static_cast<unsigned>(stored);
    image.fileFormat = fileFormat;
    image.pixels.assign(pixels, pixels + std::size_t{image.width} * image.height * image.channels);
    stbi_image_free(pixels);
    return image;
}

}  // namespace fx
