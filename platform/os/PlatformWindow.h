// The operating-system side of the render window: an SDL window made for OpenGL, placed at the
// top-left corner of the primary display, windowed or full screen in a chosen display mode.
//
// While a PlatformWindow exists the screen saver and display power-off are held off. The mouse
// cursor is hidden when the window opens and stays hidden: the show has no pointer.
//
// It does not report anything to the user: a refused full-screen switch and a failed creation
// come back to the caller, which owns the wording and the message boxes. It does not destroy
// itself on a close request either; see WindowEventPump.
#pragma once

#include "platform/d3d9/d3d9.h"

#include <SDL2/SDL_video.h>

#include <cstdint>
#include <memory>
#include <string>

namespace os {

class PlatformWindow {
public:
    struct Settings {
        std::string title;
        // Outer size: the frame included, as the window manager reports it.
        int width = 640;
        int height = 360;
        bool fullscreen = false;
    };

    struct Opening {
        // Null when the window could not be created; `error` then says why.
        std::unique_ptr<PlatformWindow> window;
        // Full screen was asked for but the display mode could not be switched; the window is
        // windowed instead.
        bool fullscreenRefused = false;
        std::string error;
    };

    static Opening open(const Settings& settings);

    ~PlatformWindow();
    PlatformWindow(const PlatformWindow&) = delete;
    PlatformWindow& operator=(const PlatformWindow&) = delete;

    // The handle the device presents into: the SDL window itself.
    HWND hwnd() const { return reinterpret_cast<HWND>(window_); }
    SDL_Window* sdlWindow() const { return window_; }
    // SDL's id of the window, which its window events carry.
    std::uint32_t id() const;
    bool isFullscreen() const;

    // Minimises (iconifies) the window without destroying it.
    void minimise();

private:
    explicit PlatformWindow(SDL_Window* window) : window_(window) {}

    SDL_Window* window_;
};

}  // namespace os
