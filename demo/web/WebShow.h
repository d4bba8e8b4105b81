// The show in a browser page: the page's start button calls start() with the size and full-screen
// choice (the start page stands in for the start-up dialog) and the browser then calls frame()
// once per display refresh, until the show ends at 126 s or on Escape, when the page is told.
//
// The test entry (renderAt) runs the same start-up and frame step on a clock the page sets, and
// hands back the back buffer's pixels, as capture does.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "demo/DemoDriver.h"
#include "demo/web/SetTimeClock.h"

class WebShow {
public:
    // Starts the show; with `testClock` the frames run on renderAt's times instead of the music.
    bool start(int width, int height, bool fullscreen, bool testClock);
    // One frame of the live show; false once the show is over, when it prints the frames drawn
    // and their mean rate, as the native program does.
    bool frame();
    // Renders the frame at `ms` of music time; returns its pixels (RGBA, top row first) or null.
    const std::uint8_t* renderAt(std::uint32_t ms);
    void shutDown();

private:
    bool grabBackBuffer();

    std::unique_ptr<DemoDriver> driver_;
    std::optional<SetTimeClock> clock_;
    std::vector<std::uint8_t> pixels_;
    double startedMs_ = 0.0;
};
