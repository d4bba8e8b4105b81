// The display modes of the primary display in the 32-bit true-colour format (8 bits each of red,
// green and blue in a 4-byte pixel, the only format the program renders to), and the choice of
// the mode a full-screen window switches to.
//
// The list keeps SDL's order and every entry, duplicates and all refresh rates included: the
// start-up dialog shows it as it is and its item index is the mode index.
#pragma once

#include "platform/os/DisplayMode.h"

#include <SDL2/SDL_video.h>

#include <optional>
#include <span>
#include <vector>

namespace os {

// True for a packed 8-8-8(-8) layout in four bytes, with or without alpha. SDL calls the
// alpha-less form 24 bits per pixel (RGB888), yet it is the 32-bit desktop mode of most displays.
bool isTrueColourFormat(Uint32 format);

// The true-colour modes among `modes`, in their order, duplicates kept.
std::vector<DisplayMode> trueColourModes(std::span<const SDL_DisplayMode> modes);

// Every mode SDL reports for display 0. Starts the video subsystem when needed; empty when there
// is no display or the display reports no true-colour mode.
std::vector<DisplayMode> primaryDisplayModes();

// The true-colour mode of exactly width x height to switch to. Among several refresh rates the
// one of the desktop (`desktopRefreshHz`) wins, else the first listed (SDL lists the highest
// first). None when the display has no such mode.
std::optional<SDL_DisplayMode> findFullscreenMode(std::span<const SDL_DisplayMode> modes, int width,
                                                  int height, int desktopRefreshHz);

// All modes of one display as SDL reports them; empty when the display index is invalid.
std::vector<SDL_DisplayMode> sdlDisplayModes(int displayIndex);

}  // namespace os
