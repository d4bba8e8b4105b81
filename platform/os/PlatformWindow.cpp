#include "platform/os/PlatformWindow.h"

#include "platform/os/DisplayModes.h"
#include "platform/os/VideoSystem.h"

#include <SDL2/SDL.h>

namespace os {
namespace {

constexpr int kPrimaryDisplay = 0;

// Switches the hidden window to full screen in the exact mode width x height. On failure the
// window is left windowed and false is returned.
bool enterFullscreen(SDL_Window* window, int width, int height) {
    std::vector<SDL_DisplayMode> modes = sdlDisplayModes(kPrimaryDisplay);
    SDL_DisplayMode desktop{};
    const bool haveDesktop = SDL_GetDesktopDisplayMode(kPrimaryDisplay, &desktop) == 0;
    // Some drivers list no modes at all, yet staying in the desktop's own mode always works.
    if (haveDesktop) {
        modes.push_back(desktop);
    }
    const std::optional<SDL_DisplayMode> mode =
        findFullscreenMode(modes, width, height, haveDesktop ? desktop.refresh_rate : 0);
    if (!mode) {
        return false;
    }
    if (SDL_SetWindowDisplayMode(window, &*mode) != 0 ||
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) {
        SDL_SetWindowFullscreen(window, 0);
        return false;
    }
    return true;
}

// SDL sizes and places the client area; the window's requested size and position are those of
// the outer frame, so shrink and shift the client area by the borders once they are known. Video
// drivers without decorations (offscreen, no window manager) report no borders.
void fitOuterFrame(SDL_Window* window, int width, int height) {
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) {
        return;
    }
    const int clientWidth = width - left - right;
    const int clientHeight = height - top - bottom;
    if (clientWidth <= 0 || clientHeight <= 0) {
        return;
    }
    SDL_SetWindowSize(window, clientWidth, clientHeight);
    SDL_SetWindowPosition(window, left, top);
}

}  // namespace

PlatformWindow::Opening PlatformWindow::open(const Settings& settings) {
    Opening opening;
    if (settings.width <= 0 || settings.height <= 0) {
        opening.error = "invalid window size";
        return opening;
    }
    if (!VideoSystem::start(&opening.error)) {
        return opening;
    }
    // Created hidden so that the full-screen switch happens before anything is shown.
    SDL_Window* window =
        SDL_CreateWindow(settings.title.c_str(), 0, 0, settings.width, settings.height,
                         SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!window) {
        opening.error = std::string("window creation failed: ") + SDL_GetError();
        return opening;
    }
    opening.window.reset(new PlatformWindow(window));
    if (settings.fullscreen) {
        opening.fullscreenRefused = !enterFullscreen(window, settings.width, settings.height);
    }
    SDL_ShowWindow(window);
    if (!opening.window->isFullscreen()) {
        fitOuterFrame(window, settings.width, settings.height);
    }
    SDL_RaiseWindow(window);
    SDL_ShowCursor(SDL_DISABLE);
    SDL_DisableScreenSaver();
    return opening;
}

PlatformWindow::~PlatformWindow() {
    SDL_DestroyWindow(window_);
    SDL_EnableScreenSaver();
}

std::uint32_t PlatformWindow::id() const {
    return SDL_GetWindowID(window_);
}

bool PlatformWindow::isFullscreen() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

void PlatformWindow::minimise() {
    SDL_MinimizeWindow(window_);
}

}  // namespace os
