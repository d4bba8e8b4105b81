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

}  // namespace

const LinearLight::Table& LinearLight::table() {
    static const Table built = [] {
        Table t{};
        for (int v = 0; v < 256; ++v) {
            t.fromByte[static_cast<std::size_t>(v)] = static_cast<float>(decode(v / 255.0));
        }
        for (int v = 0; v < 255; ++v) {
            t.byteEdges[static_cast<std::size_t>(v)] =
                static_cast<float>(decode((v + 0.5) / 255.0));
        }
        return t;
    }();
    return built;
}

// Counting the edges below the value rounds in sRGB terms with float comparisons only, which
// keeps the round trip of every byte exact (a pow in float could land a hair off).
std::uint8_t LinearLight::toByte(float linear) {
    const auto& edges = table().byteEdges;
    return static_cast<std::uint8_t>(std::upper_bound(edges.begin(), edges.end(), linear) -
                                     edges.begin());
}

std::uint16_t LinearLight::toWord(float linear) {
    const double clamped = std::clamp(static_cast<double>(linear), 0.0, 1.0);
    return static_cast<std::uint16_t>(std::lround(encode(clamped) * 65535.0));
}
