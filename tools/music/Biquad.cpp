#include "tools/music/Biquad.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/music/Tempo.h"

namespace music {

namespace {

struct Angle {
    double cosw;
    double alpha;
};

Angle angleOf(double hz, double q) {
    // Keep the design below Nyquist so a sweep that overshoots cannot make the section unstable.
    double w = 2.0 * std::numbers::pi * std::clamp(hz, 1.0, 0.49 * kSampleRate) / kSampleRate;
    return {std::cos(w), std::sin(w) / (2.0 * std::max(q, 0.05))};
}

}  // namespace

Biquad::Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
    : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0) {}

Biquad Biquad::lowpass(double hz, double q) {
    auto [c, a] = angleOf(hz, q);
    return Biquad((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + a, -2 * c, 1 - a);
}

Biquad Biquad::highpass(double hz, double q) {
    auto [c, a] = angleOf(hz, q);
    return Biquad((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + a, -2 * c, 1 - a);
}

Biquad Biquad::bandpass(double hz, double q) {
    auto [c, a] = angleOf(hz, q);
    return Biquad(a, 0.0, -a, 1 + a, -2 * c, 1 - a);
}

double Biquad::process(double x) {
    // Transposed direct form II: good numerical behaviour at the high cutoffs the hats use.
    double y = b0_ * x + z1_;
    z1_ = b1_ * x - a1_ * y + z2_;
    z2_ = b2_ * x - a2_ * y;
    return y;
}

}  // namespace music
