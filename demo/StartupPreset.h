// What the command line says about the start: full screen or a window, the display mode or
// window size, and whether to ask the user at all. Left empty, the start-up dialog decides as it
// always did; given, it starts from these values, or they replace it altogether when `ask` is off.
#pragma once

#include <cstdint>
#include <optional>

struct StartupPreset {
    struct Size {
        std::int32_t width = 0;
        std::int32_t height = 0;

        bool operator==(const Size&) const = default;
    };

    std::optional<bool> fullscreen;
    // A display mode for full screen, the window's size otherwise.
    std::optional<Size> mode;
    // False: no dialog; the values above, else the dialog's own defaults, are taken as chosen.
    bool ask = true;

    bool operator==(const StartupPreset&) const = default;
};
