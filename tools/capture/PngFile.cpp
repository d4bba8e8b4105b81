#include "tools/capture/PngFile.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STB_ONLY_PNG
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wshadow"
#include <stb_image.h>
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace png {

bool write(const std::string& path, const Image& image) {
    return stbi_write_png(path.c_str(), image.width, image.height, 3, image.rgb.data(),
                          image.width * 3) != 0;
}

std::optional<Image> read(const std::string& path) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
    if (pixels == nullptr) {
        return std::nullopt;
    }
    Image image{width, height, {pixels, pixels + std::size_t(width) * height * 3}};
    stbi_image_free(pixels);
    return image;
}

}  // namespace png
