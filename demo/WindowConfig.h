// The render window's configuration: the back-buffer and window size, the colour depth of a
// full-screen display-mode change, full screen or not, the caption (window title and class) and
// the picture's aspect, which the letterbox rule turns into the default viewport.
#pragma once

#include <cstdint>

struct WindowConfig {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;
    bool fullscreen = false;
    const char* caption = "";
    float aspect = 0.0f;
};

// 640 x 360, 32 bits per pixel, windowed, "Vornasto 2010 by Tirk", aspect 1.7777778f (the float
// nearest 16/9, a hair above it, so a 16:9 back buffer gets a picture one row short).
WindowConfig defaultWindowConfig();
