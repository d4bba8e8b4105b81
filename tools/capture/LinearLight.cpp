#include "tools/capture/LinearLight.h"

#include <algorithm>
#include <cmath>

namespace {

double decode(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double encode(double linear) {
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

// Also takes a NaN to 0, so it can never index outside the tables.
float inUnitRange(float value) {
    return value > 0.0f ? std::min(value, 1.0f) : 0.0f;
}

}  // namespace

const LinearLight::Table& LinearLight::table() {
    static const Table built = [] {
        Table t{};
        for (int v = 0; v < 256; ++v) {
            t.fromByte[std::size_t(v)] = static_cast<float>(decode(v / 255.0));
        }
        for (int v = 0; v < 255; ++v) {
            t.byteEdges[std::size_t(v)] = static_cast<float>(decode((v + 0.5) / 255.0));
        }
        for (int i = 0; i <= kSteps; ++i) {
            const float linear = static_cast<float>(i) / kSteps;
            t.byteAtStep[std::size_t(i)] = static_cast<std::uint8_t>(
                std::upper_bound(t.byteEdges.begin(), t.byteEdges.end(), linear) -
                t.byteEdges.begin());
        }
        for (int i = 0; i <= kSteps + 1; ++i) {
            const double root = std::min(1.0, static_cast<double>(i) / kSteps);
            t.encodedAtRootStep[std::size_t(i)] = static_cast<float>(encode(root * root));
        }
        return t;
    }();
    return built;
}

// The byte whose edges enclose the value: the step's byte, moved up past the edges the value
// reaches (at most two; neighbouring edges are further apart than a step).
std::uint8_t LinearLight::toByte(float linear) {
    const Table& t = table();
    const float clamped = inUnitRange(linear);
    std::size_t byte = t.byteAtStep[static_cast<std::size_t>(clamped * kSteps)];
    while (byte < t.byteEdges.size() && clamped >= t.byteEdges[byte]) {
        ++byte;
    }
    return static_cast<std::uint8_t>(byte);
}

// Linear interpolation between steps is within a hundredth of a 16-bit step of the curve.
std::uint16_t LinearLight::toWord(float linear) {
    const Table& t = table();
    const float at = std::sqrt(inUnitRange(linear)) * kSteps;
    const auto step = static_cast<std::size_t>(at);
    const float fraction = at - static_cast<float>(step);
    const float encoded = t.encodedAtRootStep[step] +
                          (t.encodedAtRootStep[step + 1] - t.encodedAtRootStep[step]) * fraction;
    return static_cast<std::uint16_t>(std::lround(encoded * 65535.0f));
}
