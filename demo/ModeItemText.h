// The text of one display mode in the start-up dialog's list: "1920x1080  [16:9] 60hz".
//
// The ratio is the size divided by the largest divisor below half the height that divides both
// sides, so it is not always fully reduced: a square 1024 x 1024 mode reads 4:4 (1024 and 512
// are never tried), and a mode at most 5 pixels high repeats its own size.
#pragma once

#include <cstdint>
#include <string>

#include "platform/d3d9/d3d9.h"

// The largest j in 1 .. height/2 - 1 for which height/j and width/j, taken as floats, are both
// whole; 1 when there is none or height/2 is at most 1.
std::uint32_t aspectDivisor(std::uint32_t width, std::uint32_t height);

// "w:h", both divided by aspectDivisor.
std::string modeRatioText(std::uint32_t width, std::uint32_t height);

// "%ix%i  [%s] %ihz": size, two spaces, the ratio in brackets, the refresh rate.
std::string modeItemText(const D3DDISPLAYMODE& mode);
