#include "platform/os/VideoSystem.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <mutex>

namespace os {
namespace {

std::mutex g_videoMutex;
bool g_videoStarted = false;

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool VideoSystem::start(std::string* error) {
    std::lock_guard lock(g_videoMutex);
    if (g_videoStarted) {
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) {
            *error = std::string("no display available: ") + SDL_GetError();
        }
        return false;
    }
    g_videoStarted = true;
    return true;
}

void VideoSystem::stop() {
    std::lock_guard lock(g_videoMutex);
    if (!g_videoStarted) {
        return;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    g_videoStarted = false;
}

bool VideoSystem::started() {
    std::lock_guard lock(g_videoMutex);
    return g_videoStarted;
}

bool VideoSystem::showsWindows() {
    const std::string name = driver();
    return !name.empty() && name != "offscreen" && name != "dummy";
}

std::string VideoSystem::driver() {
    if (!started()) {
        return {};
    }
    const char* name = SDL_GetCurrentVideoDriver();
    return name != nullptr ? name : "";
}

bool VideoSystem::sessionHasDisplay() {
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

void VideoSystem::narrowDriverSearchToSession() {
    if (isSet("SDL_VIDEODRIVER") || isSet("WAYLAND_DISPLAY")) {
        return;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, isSet("DISPLAY") ? "x11" : "offscreen");
}

}  // namespace os
