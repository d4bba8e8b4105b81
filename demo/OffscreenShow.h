// The production rendered without a window or sound device: the OpenGL device on a hidden
// window of its own, the content built on the main thread, and frames run through the real
// frame loop on a music clock set by hand, with the spectrum of the music file read offline at
// each frame's position. Tests, the benchmark and offline rendering share it with the program:
// only the clock and where the pictures go differ.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "demo/DemoContent.h"
#include "demo/FrameLoop.h"
#include "demo/IFrameWindow.h"
#include "demo/IMusicClock.h"
#include "gfx/ViewportStack.h"
#include "platform/d3d9/d3d9.h"
#include "platform/sound/OfflineMusicReader.h"

class OffscreenShow final : private IFrameWindow, private IMusicClock {
public:
    // Creates the device at width x height; ready() tells whether that worked.
    OffscreenShow(int width, int height);
    // Releases the effects, textures, render targets and the device.
    ~OffscreenShow() override;
    OffscreenShow(const OffscreenShow&) = delete;
    OffscreenShow& operator=(const OffscreenShow&) = delete;

    bool ready() const { return device_ != nullptr; }

    // Builds the content; musicFile feeds the spectrum (empty or unreadable: silence).
    void load(const std::string& musicFile = "data/vorx.mp3");

    // One frame at music position ms, as the frame loop draws it, presented.
    void renderFrame(std::uint32_t ms);

    // The back buffer as 0x00RRGGBB, rows top first.
    std::vector<std::uint32_t> readBackBuffer();

    IDirect3DDevice9* device() const { return device_; }
    int width() const { return config_.width; }
    int height() const { return config_.height; }

private:
    const WindowConfig& config() const override { return config_; }
    bool quitRequested() const override { return false; }
    void closeWindow() override {}
    void pumpEvents() override {}
    std::optional<std::uint32_t> positionMs() override { return positionMs_; }
    bool fetchSpectrum(float* out, int count) override;

    WindowConfig config_;
    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    kelvo::ViewportStack viewports_;
    std::unique_ptr<DemoContent> content_;
    std::unique_ptr<sound::OfflineMusicReader> music_;
    std::optional<FrameLoop> loop_;
    std::vector<float> spectrum_;
    std::uint32_t positionMs_ = 0;
};
