#include "gfx/Texture.h"

#include <cstdio>

#include "gfx/DataFileCache.h"
#include "gfx/GraphicsContext.h"
#include "platform/d3dx9/d3dx9.h"

namespace kelvo {

Texture::Texture() : data_(std::make_unique<TextureData>()) {}

Texture::~Texture() {
    if (data_->texture != nullptr) {
        data_->texture->Release();
    }
}

void Texture::load(const std::string& name) {
    TextureData& data = *data_;
    if (data.loaded) {
        return;
    }
    const DataFileEntry* file = findDataFile(name);
    const void* bytes = file != nullptr ? file->data : nullptr;
    const UINT size = file != nullptr ? file->size : 0;

    // Whether a texture came out is all the engine needs; a file that was read but gave none is
    // named on standard error, since the picture only shows black where it should be (a missing
    // file was reported by the cache already).
    D3DXIMAGE_INFO info{};
    const HRESULT result = D3DXCreateTextureFromFileInMemoryEx(
        GraphicsContext::instance().device, bytes, size, D3DX_DEFAULT, D3DX_DEFAULT, 0, 0,
        D3DFMT_UNKNOWN, D3DPOOL_DEFAULT, D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER, D3DX_FILTER_BOX,
        0, &info, nullptr, &data.texture);
    if (data.texture == nullptr) {
        if (file != nullptr) {
            std::fprintf(stderr, "texture %s: %s\n", name.c_str(),
                         result == D3DXERR_INVALIDDATA ? "not an image the loader can decode"
                                                       : "the device could not make it");
        }
        return;
    }
    D3DSURFACE_DESC top{};
    data.texture->GetLevelDesc(0, &top);
    data.imageWidth = static_cast<int>(info.Width);
    data.imageHeight = static_cast<int>(info.Height);
    data.width = static_cast<int>(top.Width);
    data.height = static_cast<int>(top.Height);
    if (top.Format == D3DFMT_L8) {
        data.luminance = 1;
    }
    data.loaded = true;
    data.uScale = 1.0f;
    data.vScale = 1.0f;
}

IDirect3DTexture9* Texture::getTexture() {
    return data_->texture;
}

}  // namespace kelvo
