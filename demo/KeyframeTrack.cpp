#include "demo/KeyframeTrack.h"

#include <cmath>
#include <cstddef>

float KeyframeTrack::valueAt(float x) const {
    if (keys_.empty()) {
        return 0.0f;
    }
    if (!(x > 0.0f)) {
        // 0, a negative x and NaN alike: no segment to the left of the first key.
        return keys_.front();
    }
    const float segment = std::trunc(x / kSpacing);
    if (segment + 1.0f >= static_cast<float>(keys_.size())) {
        return keys_.back();
    }
    const auto u = static_cast<std::size_t>(segment);
    const float f = (x - kSpacing * segment) / kSpacing;
    return (1.0f - f) * keys_[u] + f * keys_[u + 1];
}
