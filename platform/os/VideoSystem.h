// SDL's video subsystem, started in one place for the whole program: the start-up dialog, the
// render window, the display-mode list and the OpenGL device all ask for it here.
//
// start() is idempotent and thread-safe; stop() undoes exactly the one start that succeeded, so
// a subsystem reference that another part of the program took through SDL itself stays intact.
// This module does not pick a video driver: SDL_VIDEODRIVER (offscreen, x11, wayland) decides.
#pragma once

#include <string>

namespace os {

class VideoSystem {
public:
    // Returns true when video is available. On failure `error` (when given) receives
    // "no display available: " followed by SDL's own reason, and a later call tries again.
    static bool start(std::string* error = nullptr);

    // Releases the video subsystem if start() initialised it; harmless otherwise.
    static void stop();

    static bool started();

    // True when video runs on a driver that shows its windows to someone: not SDL's offscreen or
    // dummy driver, which SDL also falls back to when there is no display at all.
    static bool showsWindows();
    // The name of the running video driver ("x11", "wayland", "offscreen"); empty when stopped.
    static std::string driver();
};

}  // namespace os
