#include "tools/music/Kick.h"

#include <cmath>
#include <numbers>

#include "tools/music/Biquad.h"
#include "tools/music/Random.h"
#include "tools/music/Tempo.h"

namespace music {

std::vector<float> Kick::render(const Tone& tone) {
    const auto frames = static_cast<size_t>(tone.decay * 6.0 * kSampleRate);
    std::vector<float> out(frames);
    Random noise(0xC11C);
    Biquad clickTone = Biquad::lowpass(5000.0, 0.7);
    constexpr double kSweep = 0.032;
    double phase = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double hz = tone.bodyHz + (tone.punchHz - tone.bodyHz) * std::exp(-t / kSweep);
        phase += hz / kSampleRate;
        double attack = std::min(1.0, t / 0.0015);
        double body = std::sin(2.0 * std::numbers::pi * phase) * std::exp(-t / tone.decay);
        double click = clickTone.process(noise.bipolar()) * std::exp(-t / 0.004) * tone.click;
        // Gentle saturation thickens the body the way an analogue kick's overdriven amp does.
        out[i] = static_cast<float>(std::tanh(1.6 * attack * body) / std::tanh(1.6) + click);
    }
    return out;
}

}  // namespace music
