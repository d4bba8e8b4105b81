#include "demo/ModeItemText.h"

#include <cmath>
#include <cstdio>

namespace {

bool wholeAsFloat(std::uint32_t value, std::uint32_t divisor) {
    const float quotient =
        static_cast<float>(static_cast<double>(value) / static_cast<double>(divisor));
    return std::floor(quotient) == quotient;
}

}  // namespace

std::uint32_t aspectDivisor(std::uint32_t width, std::uint32_t height) {
    std::uint32_t divisor = 1;
    const std::uint32_t half = height / 2;
    if (half <= 1) {
        return divisor;
    }
    for (std::uint32_t j = 1; j < half; ++j) {
        if (wholeAsFloat(height, j) && wholeAsFloat(width, j)) {
            divisor = j;
        }
    }
    return divisor;
}

std::string modeRatioText(std::uint32_t width, std::uint32_t height) {
    const std::uint32_t divisor = aspectDivisor(width, height);
    return std::to_string(width / divisor) + ":" + std::to_string(height / divisor);
}

std::string modeItemText(const D3DDISPLAYMODE& mode) {
    const std::string ratio = modeRatioText(mode.Width, mode.Height);
    char text[96];
    std::snprintf(text, sizeof text, "%ix%i  [%s] %ihz", static_cast<int>(mode.Width),
                  static_cast<int>(mode.Height), ratio.c_str(), static_cast<int>(mode.RefreshRate));
    return text;
}
