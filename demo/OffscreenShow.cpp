#include "demo/OffscreenShow.h"

#include <algorithm>

#include "demo/D3DWindow.h"
#include "demo/MusicClockGlobals.h"
#include "demo/ProductionParameters.h"
#include "gfx/EffectHandler.h"
#include "gfx/GraphicsContext.h"

OffscreenShow::OffscreenShow(int width, int height)
    : config_(defaultWindowConfig()), spectrum_(FrameLoop::kSpectrumBins, 0.0f) {
    config_.width = width;
    config_.height = height;
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    if (d3d_ == nullptr) {
        return;
    }
    D3DPRESENT_PARAMETERS parameters = D3DWindow::presentationParameters(config_, nullptr);
    if (FAILED(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                  D3DWindow::kHardwareBehavior, &parameters, &device_))) {
        device_ = nullptr;
        return;
    }
    kelvo::GraphicsContext::instance().device = device_;
    viewports_.setDeviceProvider([this]() -> IDirect3DDevice9* { return device_; });
    viewports_.setBackBuffer(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                             config_.aspect);
    kelvo::ViewportStack::makeCurrent(&viewports_);
}

OffscreenShow::~OffscreenShow() {
    loop_.reset();
    content_.reset();
    if (g_spectrum == spectrum_.data()) {
        g_spectrum = nullptr;
    }
    kelvo::EffectHandler::destroyInstance();
    kelvo::GraphicsContext& context = kelvo::GraphicsContext::instance();
    if (device_ != nullptr) {
        // The device belongs to this show; release() would also take the context's device.
        context.releaseResources();
        context.device = nullptr;
        device_->Release();
    }
    kelvo::ViewportStack::makeCurrent(nullptr);
    if (d3d_ != nullptr) {
        d3d_->Release();
    }
}

void OffscreenShow::load(const std::string& musicFile) {
    if (!ready()) {
        return;
    }
    if (auto track = sound::DecodedTrack::decode(musicFile)) {
        music_ = std::make_unique<sound::OfflineMusicReader>(std::move(track));
    }
    resetProductionParameters();
    g_spectrum = spectrum_.data();
    content_ = std::make_unique<DemoContent>();
    IFrameWindow& window = *this;
    IMusicClock& clock = *this;
    loop_.emplace(*device_, window, clock, *content_, g_spectrum);
    positionMs_ = 0;
    loop_->start();
}

void OffscreenShow::renderFrame(std::uint32_t ms) {
    if (!loop_) {
        return;
    }
    positionMs_ = ms;
    loop_->step();
}

bool OffscreenShow::fetchSpectrum(float* out, int count) {
    if (music_ == nullptr) {
        std::fill(out, out + count, 0.0f);
        return true;
    }
    return music_->spectrumAtMs(positionMs_, out, count) == sound::SoundResult::Ok;
}

std::vector<std::uint32_t> OffscreenShow::readBackBuffer() {
    std::vector<std::uint32_t> pixels;
    IDirect3DSurface9* back = nullptr;
    IDirect3DSurface9* copy = nullptr;
    const auto w = static_cast<UINT>(config_.width);
    const auto h = static_cast<UINT>(config_.height);
    if (!ready() || FAILED(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) {
        return pixels;
    }
    if (SUCCEEDED(device_->CreateOffscreenPlainSurface(w, h, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                       &copy, nullptr)) &&
        SUCCEEDED(device_->GetRenderTargetData(back, copy))) {
        D3DLOCKED_RECT locked{};
        if (SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            pixels.reserve(std::size_t{w} * h);
            for (UINT y = 0; y < h; ++y) {
                const auto* row = reinterpret_cast<const std::uint32_t*>(
                    static_cast<const std::uint8_t*>(locked.pBits) + std::size_t{y} * locked.Pitch);
                for (UINT x = 0; x < w; ++x) {
                    pixels.push_back(row[x] & 0x00FFFFFFu);
                }
            }
            copy->UnlockRect();
        }
    }
    if (copy != nullptr) {
        copy->Release();
    }
    back->Release();
    return pixels;
}
