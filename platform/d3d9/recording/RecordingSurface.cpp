#include "platform/d3d9/recording/RecordingSurface.h"

#include <algorithm>
#include <cstring>

#include "platform/d3d9/core/DeviceRules.h"
#include "platform/d3d9/core/PixelFormat.h"
#include "platform/d3d9/recording/D3DNames.h"
#include "platform/d3d9/recording/RecordingDevice.h"

RecordingSurface::RecordingSurface(RecordingDevice& device, std::string name,
                                   const D3DSURFACE_DESC& desc, RecordingObject* container)
    : RecordingObject(device, std::move(name)),
      desc_(desc),
      textureLevel_(container != nullptr),
      pitch_(desc.Width * PixelFormat::bytesPerPixel(desc.Format)),
      bytes_(static_cast<std::size_t>(pitch_) * desc.Height) {
    forwardCountsTo(container);
}

HRESULT RecordingSurface::GetDevice(IDirect3DDevice9** device) {
    return handOutDevice(device);
}

HRESULT RecordingSurface::GetDesc(D3DSURFACE_DESC* desc) {
    auto guard = device().lock();
    HRESULT hr = device().planned("GetDesc");
    if (SUCCEEDED(hr) && desc == nullptr) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        *desc = desc_;
    }
    return device().record("GetDesc", name() + ".GetDesc()", hr, true);
}

HRESULT RecordingSurface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    auto guard = device().lock();
    HRESULT hr = device().planned("LockRect");
    if (SUCCEEDED(hr)) {
        hr = lockBits(locked, rect);
    }
    return device().record(
        "LockRect",
        name() + ".LockRect(" + D3DNames::rect(rect) + ", " + D3DNames::lockFlags(flags) + ")", hr);
}

HRESULT RecordingSurface::UnlockRect() {
    auto guard = device().lock();
    HRESULT hr = device().planned("UnlockRect");
    if (SUCCEEDED(hr)) {
        hr = unlockBits();
    }
    return device().record("UnlockRect", name() + ".UnlockRect()", hr);
}

UINT RecordingSurface::bytesPerPixel() const {
    return PixelFormat::bytesPerPixel(desc_.Format);
}

DWORD RecordingSurface::pixel(UINT x, UINT y) const {
    DWORD value = 0;
    if (x < desc_.Width && y < desc_.Height) {
        const std::size_t offset = static_cast<std::size_t>(y) * pitch_ + x * bytesPerPixel();
        std::memcpy(&value, bytes_.data() + offset, std::min<UINT>(bytesPerPixel(), 4));
    }
    return value;
}

RECT RecordingSurface::bounds() const {
    return RECT{0, 0, static_cast<std::int32_t>(desc_.Width),
                static_cast<std::int32_t>(desc_.Height)};
}

bool RecordingSurface::contains(const RECT& rect) const {
    const RECT all = bounds();
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           rect.right <= all.right && rect.bottom <= all.bottom;
}

HRESULT RecordingSurface::lockBits(D3DLOCKED_RECT* locked, const RECT* rect) {
    const bool lockable = textureLevel_ ? DeviceRules::textureLockable(desc_.Pool, desc_.Usage)
                                        : DeviceRules::surfaceLockable(desc_.Usage);
    if (!lockable || locked == nullptr || locked_ || (rect != nullptr && !contains(*rect))) {
        return D3DERR_INVALIDCALL;
    }
    const std::size_t offset =
        rect ? static_cast<std::size_t>(rect->top) * pitch_ + rect->left * bytesPerPixel() : 0;
    locked->Pitch = static_cast<INT>(pitch_);
    locked->pBits = bytes_.data() + offset;
    locked_ = true;
    return D3D_OK;
}

HRESULT RecordingSurface::unlockBits() {
    if (!locked_) {
        return D3DERR_INVALIDCALL;
    }
    locked_ = false;
    return D3D_OK;
}

template <class WritePixel>
void RecordingSurface::forEachPixel(const RECT& rect, WritePixel write) {
    const RECT all = bounds();
    const std::int32_t left = std::max(rect.left, all.left);
    const std::int32_t right = std::min(rect.right, all.right);
    const std::int32_t top = std::max(rect.top, all.top);
    const std::int32_t bottom = std::min(rect.bottom, all.bottom);
    for (std::int32_t y = top; y < bottom; ++y) {
        for (std::int32_t x = left; x < right; ++x) {
            write(bytes_.data() + static_cast<std::size_t>(y) * pitch_ +
                  static_cast<std::size_t>(x) * bytesPerPixel());
        }
    }
}

void RecordingSurface::fillColor(const RECT& rect, D3DCOLOR color) {
    forEachPixel(rect, [&](BYTE* pixel) { PixelFormat::writeColor(desc_.Format, color, pixel); });
}

void RecordingSurface::fillDepth(const RECT& rect, std::optional<float> depth,
                                 std::optional<DWORD> stencil) {
    forEachPixel(
        rect, [&](BYTE* pixel) { PixelFormat::writeDepth(desc_.Format, depth, stencil, pixel); });
}
