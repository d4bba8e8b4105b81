#include "platform/d3d9/recording/RecordingTexture.h"

#include <algorithm>

#include "platform/d3d9/core/DeviceRules.h"
#include "platform/d3d9/recording/D3DNames.h"
#include "platform/d3d9/recording/RecordingDevice.h"

RecordingTexture::RecordingTexture(RecordingDevice& device, std::string name, UINT width,
                                   UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                   D3DPOOL pool)
    : RecordingObject(device, std::move(name)) {
    for (UINT i = 0; i < levels; ++i) {
        levels_.push_back(std::make_unique<RecordingSurface>(
            device, this->name() + "[" + std::to_string(i) + "]",
            DeviceRules::levelDesc(width, height, i, usage, format, pool), this));
    }
}

HRESULT RecordingTexture::GetDevice(IDirect3DDevice9** device) {
    return handOutDevice(device);
}

DWORD RecordingTexture::GetLevelCount() {
    auto guard = device().lock();
    device().record("GetLevelCount", name() + ".GetLevelCount()", D3D_OK, true);
    return levelCount();
}

RecordingSurface* RecordingTexture::level(UINT index) const {
    return index < levels_.size() ? levels_[index].get() : nullptr;
}

bool RecordingTexture::anyLevelLocked() const {
    return std::any_of(levels_.begin(), levels_.end(),
                       [](const auto& level) { return level->isLocked(); });
}

HRESULT RecordingTexture::GetLevelDesc(UINT index, D3DSURFACE_DESC* desc) {
    auto guard = device().lock();
    HRESULT hr = device().planned("GetLevelDesc");
    if (SUCCEEDED(hr) && (desc == nullptr || level(index) == nullptr)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        *desc = level(index)->desc();
    }
    return device().record("GetLevelDesc", name() + ".GetLevelDesc(" + std::to_string(index) + ")",
                           hr, true);
}

HRESULT RecordingTexture::GetSurfaceLevel(UINT index, IDirect3DSurface9** surface) {
    auto guard = device().lock();
    HRESULT hr = device().planned("GetSurfaceLevel");
    if (SUCCEEDED(hr) && (surface == nullptr || level(index) == nullptr)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (surface != nullptr) {
        *surface = SUCCEEDED(hr) ? level(index) : nullptr;
    }
    if (SUCCEEDED(hr)) {
        level(index)->AddRef();
    }
    return device().record("GetSurfaceLevel",
                           name() + ".GetSurfaceLevel(" + std::to_string(index) + ")", hr, true);
}

HRESULT RecordingTexture::LockRect(UINT index, D3DLOCKED_RECT* locked, const RECT* rect,
                                   DWORD flags) {
    auto guard = device().lock();
    HRESULT hr = device().planned("LockRect");
    if (SUCCEEDED(hr)) {
        hr = level(index) ? level(index)->lockBits(locked, rect) : D3DERR_INVALIDCALL;
    }
    return device().record("LockRect",
                           name() + ".LockRect(" + std::to_string(index) + ", " +
                               D3DNames::rect(rect) + ", " + D3DNames::lockFlags(flags) + ")",
                           hr);
}

HRESULT RecordingTexture::UnlockRect(UINT index) {
    auto guard = device().lock();
    HRESULT hr = device().planned("UnlockRect");
    if (SUCCEEDED(hr)) {
        hr = level(index) ? level(index)->unlockBits() : D3DERR_INVALIDCALL;
    }
    return device().record("UnlockRect", name() + ".UnlockRect(" + std::to_string(index) + ")", hr);
}
