// An image from a data file, made into a Direct3D texture with a full mip chain. The registry
// (GraphicsContext::loadTexture) creates, loads and finally destroys every texture.
#pragma once

#include <memory>
#include <string>

#include "gfx/ID3dSurface.h"
#include "gfx/TextureData.h"

namespace kelvo {

class Texture : public ID3dSurface {
public:
    Texture();
    ~Texture() override;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Creates the texture from the bytes the data file cache holds for name (preloaded by the
    // caller). Does nothing once loaded; a missing or undecodable file leaves it unloaded.
    void load(const std::string& name);

    IDirect3DTexture9* getTexture() override;
    const TextureData& data() const { return *data_; }

private:
    std::unique_ptr<TextureData> data_;
};

}  // namespace kelvo
