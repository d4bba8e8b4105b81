// Anything that yields a Direct3D texture to bind to an effect parameter or a sampler: an image
// loaded from a data file (Texture) or a picture the engine rendered (RenderTarget).
#pragma once

#include "platform/d3d9/d3d9.h"

namespace kelvo {

class ID3dSurface {
public:
    virtual ~ID3dSurface() = default;

    // The texture, or null when there is none (an image that failed to load, a render target
    // whose creation failed); binding null samples nothing.
    virtual IDirect3DTexture9* getTexture() = 0;
};

}  // namespace kelvo
