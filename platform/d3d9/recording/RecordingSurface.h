// A surface of the recording device: a render target, depth-stencil or plain surface, or one
// level of a texture. It keeps real pixel memory (pitch = width × bytes per pixel), which
// LockRect hands out and Clear, ColorFill and GetRenderTargetData write; draws do not rasterise.
#pragma once

#include <optional>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/recording/RecordingObject.h"

class RecordingSurface final : public IDirect3DSurface9, public RecordingObject {
public:
    // With a container the surface is that texture's level and shares its reference counts.
    RecordingSurface(RecordingDevice& device, std::string name, const D3DSURFACE_DESC& desc,
                     RecordingObject* container = nullptr);

    ULONG AddRef() override { return addRef(); }
    ULONG Release() override { return release(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

    const D3DSURFACE_DESC& desc() const { return desc_; }
    UINT pitch() const { return pitch_; }
    UINT bytesPerPixel() const;
    const std::vector<BYTE>& bytes() const { return bytes_; }
    std::vector<BYTE>& bytes() { return bytes_; }
    // The pixel's bytes read as a little-endian number (its first four at most): 0xAARRGGBB
    // for A8R8G8B8.
    DWORD pixel(UINT x, UINT y) const;
    bool isLocked() const { return locked_; }
    bool isTextureLevel() const { return textureLevel_; }
    RECT bounds() const;
    bool contains(const RECT& rect) const;

    // Unlogged work shared by the surface's and its texture's calls; lockBits applies Direct3D's
    // lock rule (a texture level's pool, or a surface of its own being off-screen plain).
    HRESULT lockBits(D3DLOCKED_RECT* locked, const RECT* rect);
    HRESULT unlockBits();
    void fillColor(const RECT& rect, D3DCOLOR color);
    void fillDepth(const RECT& rect, std::optional<float> depth, std::optional<DWORD> stencil);

private:
    template <class WritePixel>
    void forEachPixel(const RECT& rect, WritePixel write);

    D3DSURFACE_DESC desc_;
    bool textureLevel_;
    UINT pitch_;
    std::vector<BYTE> bytes_;
    bool locked_ = false;
};
