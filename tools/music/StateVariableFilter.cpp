#include "tools/music/StateVariableFilter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/music/Tempo.h"

namespace music {

void StateVariableFilter::setCutoff(double hz, double q) {
    double g = std::tan(std::numbers::pi * std::clamp(hz, 10.0, 0.45 * kSampleRate) / kSampleRate);
    k_ = 1.0 / std::max(q, 0.1);
    a1_ = 1.0 / (1.0 + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
}

StateVariableFilter::Output StateVariableFilter::process(double x) {
    double v3 = x - s2_;
    double v1 = a1_ * s1_ + a2_ * v3;
    double v2 = s2_ + a2_ * s1_ + a3_ * v3;
    s1_ = 2.0 * v1 - s1_;
    s2_ = 2.0 * v2 - s2_;
    return {v2, v1, x - k_ * v1 - v2};
}

}  // namespace music
