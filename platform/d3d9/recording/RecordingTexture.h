// A 2D texture of the recording device: its levels are RecordingSurfaces that keep their own
// memory and forward their reference counts to the texture.
#pragma once

#include <memory>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/recording/RecordingObject.h"
#include "platform/d3d9/recording/RecordingSurface.h"

class RecordingTexture final : public IDirect3DTexture9, public RecordingObject {
public:
    // levels must already be resolved (see DeviceRules::textureLevels) and at least 1.
    RecordingTexture(RecordingDevice& device, std::string name, UINT width, UINT height,
                     UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool);

    ULONG AddRef() override { return addRef(); }
    ULONG Release() override { return release(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD GetLevelCount() override;
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    UINT levelCount() const { return static_cast<UINT>(levels_.size()); }
    // Null beyond the level count.
    RecordingSurface* level(UINT index) const;
    bool anyLevelLocked() const;

private:
    std::vector<std::unique_ptr<RecordingSurface>> levels_;
};
