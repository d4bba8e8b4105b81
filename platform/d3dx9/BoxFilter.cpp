#include "platform/d3dx9/BoxFilter.h"

#include <algorithm>
#include <cstddef>

namespace fx {
namespace {

struct Span {
    unsigned begin;
    unsigned end;
};

// The source pixels under destination pixel i when size becomes newSize.
Span spanOf(unsigned i, unsigned size, unsigned newSize) {
    const auto begin = static_cast<unsigned>(std::uint64_t{i} * size / newSize);
    const auto end = static_cast<unsigned>(std::uint64_t{i + 1} * size / newSize);
    return Span{begin, std::max(end, begin + 1)};
}

}  // namespace

std::vector<std::uint8_t> BoxFilter::resample(const std::vector<std::uint8_t>& source,
                                              unsigned width, unsigned height, unsigned channels,
                                              unsigned newWidth, unsigned newHeight) {
    std::vector<std::uint8_t> result(std::size_t{newWidth} * newHeight * channels);
    for (unsigned y = 0; y < newHeight; ++y) {
        const Span rows = spanOf(y, height, newHeight);
        for (unsigned x = 0; x < newWidth; ++x) {
            const Span columns = spanOf(x, width, newWidth);
            const std::uint64_t count =
                std::uint64_t{rows.end - rows.begin} * (columns.end - columns.begin);
            for (unsigned c = 0; c < channels; ++c) {
                std::uint64_t sum = 0;
                for (unsigned sy = rows.begin; sy < rows.end; ++sy) {
                    for (unsigned sx = columns.begin; sx < columns.end; ++sx) {
                        sum += source[(std::size_t{sy} * width + sx) * channels + c];
                    }
                }
                result[(std::size_t{y} * newWidth + x) * channels + c] =
                    static_cast<std::uint8_t>((sum + count / 2) / count);
            }
        }
    }
    return result;
}

}  // namespace fx
