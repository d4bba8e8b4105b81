#include "tools/music/Oscillator.h"

#include <cmath>
#include <numbers>

#include "tools/music/Tempo.h"

namespace music {

namespace {

// The polyBLEP residual around a discontinuity at phase 0 (t in [0, 1), dt = phase step).
double blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

double midiHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

void Oscillator::setFrequency(double hz) {
    step_ = hz / kSampleRate;
}

void Oscillator::advance() {
    phase_ += step_;
    phase_ -= std::floor(phase_);
}

double Oscillator::saw() {
    double value = 2.0 * phase_ - 1.0 - blep(phase_, step_);
    advance();
    return value;
}

double Oscillator::square() {
    double value = phase_ < 0.5 ? 1.0 : -1.0;
    value += blep(phase_, step_);
    double half = phase_ + 0.5;
    value -= blep(half - std::floor(half), step_);
    advance();
    return value;
}

double Oscillator::sine() {
    double value = std::sin(2.0 * std::numbers::pi * phase_);
    advance();
    return value;
}

}  // namespace music
