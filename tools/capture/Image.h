// A picture in memory: 8-bit RGB, rows top first, tightly packed.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    static Image blank(int width, int height) {
        return {width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3, 0)};
    }

    // From B, G, R, X bytes (how the device reads a picture back).
    static Image fromBgrx(std::span<const std::uint8_t> bgrx, int width, int height) {
        Image image = blank(width, height);
        for (std::size_t i = 0, pixels = std::size_t(width) * height; i < pixels; ++i) {
            image.rgb[i * 3 + 0] = bgrx[i * 4 + 2];
            image.rgb[i * 3 + 1] = bgrx[i * 4 + 1];
            image.rgb[i * 3 + 2] = bgrx[i * 4 + 0];
        }
        return image;
    }
};
