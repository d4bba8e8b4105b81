#include "tools/capture/ImageDifference.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

ImageDifference ImageDifference::between(const Image& expected, const Image& actual,
                                         int threshold) {
    ImageDifference result;
    result.sameSize = expected.width == actual.width && expected.height == actual.height &&
                      expected.rgb.size() == actual.rgb.size();
    if (!result.sameSize) {
        return result;
    }
    result.picture = Image::blank(actual.width, actual.height);
    const std::size_t pixels = std::size_t(actual.width) * actual.height;
    double sum = 0.0;
    std::size_t changed = 0;
    for (std::size_t i = 0; i < pixels; ++i) {
        int difference = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            difference = std::max(
                difference, std::abs(int{expected.rgb[i * 3 + c]} - int{actual.rgb[i * 3 + c]}));
        }
        sum += difference;
        changed += difference > threshold ? 1 : 0;
        if (difference > result.worst) {
            result.worst = difference;
            result.worstX = static_cast<int>(i % actual.width);
            result.worstY = static_cast<int>(i / actual.width);
        }
        const auto grey = static_cast<std::uint8_t>(std::min(difference * 4, 255));
        std::fill_n(result.picture.rgb.begin() + i * 3, 3, grey);
    }
    result.mean = pixels > 0 ? sum / static_cast<double>(pixels) : 0.0;
    result.changedShare = pixels > 0 ? static_cast<double>(changed) / pixels : 0.0;
    return result;
}

bool ImageDifference::within(const GoldenTolerance& tolerance) const {
    return sameSize && mean <= tolerance.maxMean && changedShare <= tolerance.maxChangedShare;
}

std::string ImageDifference::describe() const {
    if (!sameSize) {
        return "sizes differ";
    }
    char text[128];
    std::snprintf(text, sizeof text, "mean %.3f, %.3f%% of pixels changed, worst %d at (%d, %d)",
                  mean, changedShare * 100.0, worst, worstX, worstY);
    return text;
}
