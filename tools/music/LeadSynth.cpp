#include "tools/music/LeadSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/music/Oscillator.h"
#include "tools/music/StateVariableFilter.h"
#include "tools/music/Tempo.h"

namespace music {

std::vector<float> LeadSynth::render(const Note& note) {
    constexpr double kRelease = 0.06;
    const auto frames = static_cast<size_t>((note.length + 6.0 * kRelease) * kSampleRate);
    std::vector<float> out(frames);
    double hz = midiHz(note.midi);
    Oscillator sawA(0.0), sawB(0.5), square(0.25);
    StateVariableFilter filter;
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        if (i % 16 == 0) {
            double depth = std::clamp((t - 0.18) / 0.3, 0.0, 1.0) * 0.12;  // semitones
            double bend = std::pow(2.0, depth * std::sin(2.0 * std::numbers::pi * 5.5 * t) / 12.0);
            sawA.setFrequency(hz * bend * 1.004);
            sawB.setFrequency(hz * bend * 0.996);
            square.setFrequency(hz * bend * 0.5);
            double cutoff = 500.0 + note.brightness * 4200.0 * std::exp(-t / note.decay);
            filter.setCutoff(std::min(cutoff, 9000.0), 2.2);
        }
        double level = note.sustain + (1.0 - note.sustain) * std::exp(-t / 0.12);
        double gate = std::min(1.0, std::min(t, note.length) / 0.004) * level;
        if (t > note.length) {
            gate *= std::exp(-(t - note.length) / kRelease);
        }
        double raw = 0.4 * (sawA.saw() + sawB.saw()) + 0.3 * square.square();
        out[i] = static_cast<float>(gate * filter.process(raw).low);
    }
    return out;
}

}  // namespace music
