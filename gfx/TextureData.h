// What a Texture knows about its image once loaded.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace kelvo {

struct TextureData {
    // Null until loaded, and for good when the file was missing or could not be decoded.
    IDirect3DTexture9* texture = nullptr;
    bool loaded = false;
    // The image's size in its file.
    int imageWidth = 0;
    int imageHeight = 0;
    // The top level's size as created.
    int width = 0;
    int height = 0;
    float uScale = 0.0f;
    float vScale = 0.0f;
    // 1 for a grey-scale (D3DFMT_L8) texture, else 0.
    int luminance = 0;
};

}  // namespace kelvo
