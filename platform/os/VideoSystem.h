// SDL's video subsystem, started in one place for the whole program: the start-up dialog, the
// render window, the display-mode list and the OpenGL device all ask for it here.
//
// start() is idempotent and thread-safe; stop() undoes exactly the one start that succeeded, so
// a subsystem reference that another part of the program took through SDL itself stays intact.
// This module does not pick a video driver on its own: SDL_VIDEODRIVER (offscreen, x11, wayland)
// decides, and the program may narrow SDL's search to the session's display first.
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

    // Whether the session names a display: DISPLAY or WAYLAND_DISPLAY is set and not empty.
    static bool sessionHasDisplay();

    // For the program, before video starts, unless SDL_VIDEODRIVER is set: SDL tries only the
    // driver of the display the session names. Searching further makes other drivers' libraries
    // print their own complaints (libwayland-client: "error: XDG_RUNTIME_DIR is invalid or not
    // set in the environment."). With DISPLAY alone that is x11, SDL's first choice anyway; with
    // WAYLAND_DISPLAY SDL searches as usual; with neither there is no display to find, and SDL's
    // offscreen driver starts at once, which shows nothing, so the start-up reports it.
    static void narrowDriverSearchToSession();
};

}  // namespace os
