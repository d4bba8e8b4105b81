// "WIDTHxHEIGHT" as the program's and capture's command lines take it: two unsigned whole
// numbers around one 'x'. Ranges and other rules are the caller's.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

std::optional<PixelSize> parsePixelSize(std::string_view text);
