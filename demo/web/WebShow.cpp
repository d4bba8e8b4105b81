#include "demo/web/WebShow.h"

#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstring>

#include "gfx/GraphicsContext.h"
#include "platform/sound/DecodedTrack.h"

bool WebShow::start(int width, int height, bool fullscreen, bool testClock) {
    DemoDriver::Options options;
    options.askUser = false;
    options.config.width = width;
    options.config.height = height;
    options.config.fullscreen = fullscreen;
    if (testClock) {
        auto track = sound::DecodedTrack::decode(options.musicFile);
        if (!track) {
            std::fprintf(stderr, "vornasto: the music was not decoded\n");
            return false;
        }
        clock_.emplace(std::move(track));
        options.clock = &*clock_;
    }
    driver_ = std::make_unique<DemoDriver>(options);
    return driver_->startUp();
}

bool WebShow::frame() {
    FrameLoop* loop = driver_ ? driver_->frameLoop() : nullptr;
    if (loop == nullptr || driver_->window() == nullptr) {
        return false;
    }
    if (driver_->window()->quitRequested()) {
        const double seconds = (emscripten_get_now() - startedMs_) / 1000.0;
        const auto frames = static_cast<unsigned long long>(loop->frameCount());
        std::printf("vornasto: %llu frames in %.1f s, %.1f frames per second\n", frames, seconds,
                    seconds > 0.0 ? static_cast<double>(frames) / seconds : 0.0);
        return false;
    }
    if (loop->frameCount() == 0) {
        startedMs_ = emscripten_get_now();
    }
    loop->step();
    return true;
}

const std::uint8_t* WebShow::renderAt(std::uint32_t ms) {
    FrameLoop* loop = driver_ ? driver_->frameLoop() : nullptr;
    if (loop == nullptr || !clock_) {
        return nullptr;
    }
    clock_->setMs(ms);
    loop->step();
    return grabBackBuffer() ? pixels_.data() : nullptr;
}

// The back buffer through the device, as capture reads it: BGRA rows, top first, made RGBA.
bool WebShow::grabBackBuffer() {
    IDirect3DDevice9* device = kelvo::GraphicsContext::instance().device;
    IDirect3DSurface9* back = nullptr;
    if (device == nullptr ||
        device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back) != D3D_OK) {
        return false;
    }
    D3DSURFACE_DESC desc{};
    back->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    bool ok = device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                  D3DPOOL_SYSTEMMEM, &copy, nullptr) == D3D_OK &&
              device->GetRenderTargetData(back, copy) == D3D_OK;
    D3DLOCKED_RECT locked{};
    if (ok && copy->LockRect(&locked, nullptr, D3DLOCK_READONLY) == D3D_OK) {
        pixels_.resize(std::size_t{desc.Width} * desc.Height * 4);
        for (UINT y = 0; y < desc.Height; ++y) {
            const auto* row = static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch;
            std::uint8_t* out = pixels_.data() + std::size_t{y} * desc.Width * 4;
            for (UINT x = 0; x < desc.Width; ++x) {
                out[x * 4 + 0] = row[x * 4 + 2];
                out[x * 4 + 1] = row[x * 4 + 1];
                out[x * 4 + 2] = row[x * 4 + 0];
                out[x * 4 + 3] = 0xFF;
            }
        }
        copy->UnlockRect();
    } else {
        ok = false;
    }
    if (copy != nullptr) {
        copy->Release();
    }
    back->Release();
    return ok;
}

void WebShow::shutDown() {
    if (driver_) {
        driver_->shutDown();
    }
}
