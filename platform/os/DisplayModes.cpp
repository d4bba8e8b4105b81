#include "platform/os/DisplayModes.h"

#include "platform/os/VideoSystem.h"

#include <SDL2/SDL.h>

namespace os {

bool isTrueColourFormat(Uint32 format) {
    return SDL_ISPIXELFORMAT_PACKED(format) && SDL_PIXELLAYOUT(format) == SDL_PACKEDLAYOUT_8888 &&
           SDL_BYTESPERPIXEL(format) == 4;
}

std::vector<DisplayMode> trueColourModes(std::span<const SDL_DisplayMode> modes) {
    std::vector<DisplayMode> kept;
    for (const SDL_DisplayMode& mode : modes) {
        if (isTrueColourFormat(mode.format) && mode.w > 0 && mode.h > 0) {
            kept.push_back(
                {static_cast<std::uint32_t>(mode.w), static_cast<std::uint32_t>(mode.h),
                 static_cast<std::uint32_t>(mode.refresh_rate > 0 ? mode.refresh_rate : 0)});
        }
    }
    return kept;
}

std::vector<SDL_DisplayMode> sdlDisplayModes(int displayIndex) {
    std::vector<SDL_DisplayMode> modes;
    const int count = SDL_GetNumDisplayModes(displayIndex);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(displayIndex, i, &mode) == 0) {
            modes.push_back(mode);
        }
    }
    return modes;
}

std::vector<DisplayMode> primaryDisplayModes() {
    if (!VideoSystem::start()) {
        return {};
    }
    return trueColourModes(sdlDisplayModes(0));
}

std::optional<SDL_DisplayMode> findFullscreenMode(std::span<const SDL_DisplayMode> modes, int width,
                                                  int height, int desktopRefreshHz) {
    std::optional<SDL_DisplayMode> found;
    for (const SDL_DisplayMode& mode : modes) {
        if (mode.w != width || mode.h != height || !isTrueColourFormat(mode.format)) {
            continue;
        }
        if (mode.refresh_rate == desktopRefreshHz) {
            return mode;
        }
        if (!found) {
            found = mode;
        }
    }
    return found;
}

}  // namespace os
