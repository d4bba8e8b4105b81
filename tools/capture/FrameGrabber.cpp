#include "tools/capture/FrameGrabber.h"

#include <cstdio>
#include <cstring>

FrameGrabber::FrameGrabber(IDirect3DDevice9& device, int width, int height, bool keepPixels)
    : device_(device),
      width_(width),
      height_(height),
      keepPixels_(keepPixels),
      bgrx_(std::size_t(width) * height * 4, 0) {
    const HRESULT result =
        device_.CreateOffscreenPlainSurface(static_cast<UINT>(width), static_cast<UINT>(height),
                                            D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &copy_, nullptr);
    if (result != D3D_OK) {
        copy_ = nullptr;
        fail("CreateOffscreenPlainSurface", result);
    }
}

FrameGrabber::~FrameGrabber() {
    if (copy_ != nullptr) {
        copy_->Release();
    }
}

void FrameGrabber::frameDrawn(float) {
    if (error_.empty() && readBack()) {
        ++grabbed_;
    }
}

bool FrameGrabber::readBack() {
    IDirect3DSurface9* back = nullptr;
    HRESULT result = device_.GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    if (result != D3D_OK) {
        return fail("GetBackBuffer", result);
    }
    result = device_.GetRenderTargetData(back, copy_);
    back->Release();
    if (result != D3D_OK) {
        return fail("GetRenderTargetData", result);
    }
    if (!keepPixels_) {
        return true;
    }
    D3DLOCKED_RECT locked{};
    result = copy_->LockRect(&locked, nullptr, D3DLOCK_READONLY);
    if (result != D3D_OK) {
        return fail("LockRect", result);
    }
    const std::size_t rowBytes = std::size_t(width_) * 4;
    for (int y = 0; y < height_; ++y) {
        std::memcpy(bgrx_.data() + rowBytes * y,
                    static_cast<const std::uint8_t*>(locked.pBits) + std::size_t(locked.Pitch) * y,
                    rowBytes);
    }
    copy_->UnlockRect();
    return true;
}

bool FrameGrabber::fail(const char* what, HRESULT result) {
    char text[96];
    std::snprintf(text, sizeof text, "reading the frame back failed: %s returned 0x%08X", what,
                  static_cast<unsigned>(result));
    if (error_.empty()) {
        error_ = text;
    }
    return false;
}

Image FrameGrabber::rgb() const {
    return Image::fromBgrx(bgrx_, width_, height_);
}
