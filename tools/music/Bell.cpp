#include "tools/music/Bell.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/music/Oscillator.h"
#include "tools/music/Tempo.h"

namespace music {

std::vector<float> Bell::render(const Note& note) {
    const auto frames = static_cast<size_t>(note.decay * 6.0 * kSampleRate);
    std::vector<float> out(frames);
    double hz = midiHz(note.midi);
    double carrier = 0.0, modulator = 0.0;
    constexpr double kTau = 2.0 * std::numbers::pi;
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double index = note.index * std::exp(-t / (0.25 * note.decay));
        double mod = std::sin(kTau * modulator) * index;
        double level = std::min(1.0, t / 0.002) * std::exp(-t / note.decay);
        out[i] = static_cast<float>(level * std::sin(kTau * carrier + mod));
        carrier += hz / kSampleRate;
        modulator += hz * note.ratio / kSampleRate;
        carrier -= std::floor(carrier);
        modulator -= std::floor(modulator);
    }
    return out;
}

}  // namespace music
