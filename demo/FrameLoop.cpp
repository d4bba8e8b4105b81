#include "demo/FrameLoop.h"

#include <algorithm>
#include <cstdint>

#include "demo/MusicClockGlobals.h"
#include "gfx/HrCheck.h"
#include "gfx/Letterbox.h"

FrameLoop::FrameLoop(IDirect3DDevice9& device, IFrameWindow& window, IMusicClock& music,
                     IFrameContent& content, float* spectrum)
    : device_(device), window_(window), music_(music), content_(content), spectrum_(spectrum) {}

void FrameLoop::start() {
    startPosition_ = music_.positionMs().value_or(0);
    position_ = startPosition_;
}

void FrameLoop::run() {
    while (!window_.quitRequested()) {
        step();
    }
}

void FrameLoop::step() {
    // A failed query must not read as position 0: with any start position above 0 the
    // difference would wrap to a huge elapsed time and end the show at once.
    position_ = music_.positionMs().value_or(position_);
    const WindowConfig& config = window_.config();
    prepareBackBuffer(config);

    const std::uint32_t elapsed = showMs(position_ - startPosition_, avOffsetMs_);
    if (spectrum_ != nullptr) {
        // Stale values are acceptable for a frame; the content reads whatever is there.
        music_.fetchSpectrum(spectrum_, kSpectrumBins);
    }
    if (elapsed >= kEndMs) {
        window_.closeWindow();
    }
    HR_CHECK(kReportSource, kPictureClearLine,
             device_.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x80000000, 1.0f, 0));

    const float seconds = secondsOf(elapsed);
    g_demoPart = partAt(seconds);
    g_demoSeconds = seconds;
    content_.update(seconds);
    if (observer_ != nullptr) {
        observer_->frameDrawn(seconds);
    }

    HR_CHECK(kReportSource, kPresentLine, device_.Present(nullptr, nullptr, nullptr, nullptr));
    window_.pumpEvents();
    ++frames_;
}

// Black over the whole back buffer, bars included, then the picture area as the viewport.
void FrameLoop::prepareBackBuffer(const WindowConfig& config) {
    const auto width = static_cast<std::uint32_t>(config.width);
    const auto height = static_cast<std::uint32_t>(config.height);
    const D3DVIEWPORT9 full{0, 0, width, height, 0.0f, 1.0f};
    device_.SetViewport(&full);
    device_.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_STENCIL, 0x00000000, 1.0f, 0);
    const D3DVIEWPORT9 picture = kelvo::letterboxViewport(width, height, config.aspect);
    HR_CHECK(kReportSource, kPictureViewportLine, device_.SetViewport(&picture));
}

std::uint32_t FrameLoop::showMs(std::uint32_t elapsedMs, std::int32_t avOffsetMs) {
    const std::int64_t shown = static_cast<std::int64_t>(elapsedMs) - avOffsetMs;
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(shown, 0, UINT32_MAX));
}

float FrameLoop::secondsOf(std::uint32_t elapsedMs) {
    return static_cast<float>(static_cast<double>(elapsedMs) / 1000.0);
}

int FrameLoop::partAt(float seconds) {
    if (seconds < kPartOneStart) {
        return 0;
    }
    if (seconds < kPartTwoStart) {
        return 1;
    }
    return 2;
}
