// Resamples 8-bit images by averaging the source pixels under each destination pixel (a box
// filter). Halving gives the mip chain; odd sizes are handled by uneven boxes, so every source
// pixel contributes. Enlarging repeats pixels.
#pragma once

#include <cstdint>
#include <vector>

namespace fx {

class BoxFilter {
public:
    static std::vector<std::uint8_t> resample(const std::vector<std::uint8_t>& source,
                                              unsigned width, unsigned height, unsigned channels,
                                              unsigned newWidth, unsigned newHeight);
};

}  // namespace fx
