// A 2D texture with its mip levels. LockRect hands out a CPU copy of a level; UnlockRect
// uploads that level (this is how the texture loader fills textures). Render-target textures
// are drawn into through their level-0 surface.
#pragma once

#include "platform/d3d9/gl/GLApi.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GLRefCounted.h"
#include "platform/d3d9/gl/GLSurface.h"
#include "platform/d3d9/gl/GLTranslate.h"

class GLTexture final : public IDirect3DTexture9, public GLRefCounted {
public:
    // Creates the GL storage; valid() is false when the format or size is refused.
    GLTexture(GLDevice& device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
              D3DPOOL pool);
    ~GLTexture() override;

    ULONG AddRef() override { return addPublicRef(); }
    ULONG Release() override { return releasePublicRef(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override { return handOutDevice(device); }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD GetLevelCount() override;
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    // The texture behind an interface pointer of this device, which makes no cube or volume
    // textures (null stays null).
    static GLTexture* of(IDirect3DBaseTexture9* texture) {
        return static_cast<GLTexture*>(static_cast<IDirect3DTexture9*>(texture));
    }

    bool valid() const { return name_ != 0; }
    GLuint name() const { return name_; }
    // Level 0's description (valid textures have at least one level).
    const D3DSURFACE_DESC& topDesc() const { return levels_.front().desc; }
    // UpdateTexture's copy: every level of this texture from `source`'s levels starting at
    // `firstSourceLevel` (the caller has checked that they match). False when a level of
    // either is locked or GL refuses.
    bool copyLevelsFrom(GLTexture& source, UINT firstSourceLevel);

private:
    struct Level {
        D3DSURFACE_DESC desc;
        std::unique_ptr<GLSurface> surface;
        std::vector<std::uint8_t> lockCopy;
        bool locked = false;
        bool readOnly = false;
        bool written = false;
    };
    UINT levelPitch(UINT level) const;
    std::size_t levelBytes(UINT level) const;
    void readLevel(UINT level, std::vector<std::uint8_t>& bytes);
    void writeLevel(UINT level, const std::uint8_t* bytes);

    gltranslate::TextureFormat format_;
    DWORD usage_;
    GLuint name_ = 0;
    std::vector<Level> levels_;
};
