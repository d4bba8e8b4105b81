// A picture in memory: 8-bit RGB, rows top first, tightly packed.
#pragma once

#include <cstdint>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    static Image blank(int width, int height) {
        return {width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3, 0)};
    }
};
