// PNG and JPEG files in the browser build, decoded by stb_image (libspng and libjpeg-turbo are
// not built for WebAssembly): grey images without alpha stay one channel, everything else
// becomes RGBA, as the native decoders give them. A file stb_image refuses creates nothing.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/d3dx9/DecodedImage.h"

namespace fx {

class StbImageDecoder {
public:
    // fileFormat: what the image information reports (the caller has recognised the file).
    static std::optional<DecodedImage> decode(const unsigned char* bytes, std::size_t size,
                                              D3DXIMAGE_FILEFORMAT fileFormat);
};

}  // namespace fx
