#include "tools/music/PadSynth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "tools/music/Oscillator.h"
#include "tools/music/StateVariableFilter.h"
#include "tools/music/Tempo.h"

namespace music {

namespace {

constexpr std::array<double, 3> kDetune = {-0.11, 0.0, 0.12};  // semitones
constexpr std::array<double, 3> kPan = {-0.8, 0.0, 0.8};

}  // namespace

PadSynth::Stereo PadSynth::render(const Chord& chord) {
    const auto frames = static_cast<size_t>((chord.length + 7.0 * chord.release) * kSampleRate);
    Stereo out{std::vector<float>(frames), std::vector<float>(frames)};
    std::vector<Oscillator> voices;
    std::vector<double> pans;
    double phase = 0.1;
    for (double note : chord.notes) {
        for (size_t d = 0; d < kDetune.size(); ++d) {
            voices.emplace_back(phase);
            voices.back().setFrequency(midiHz(note + kDetune[d]));
            pans.push_back(kPan[d]);
            phase = std::fmod(phase + 0.618, 1.0);
        }
    }
    StateVariableFilter leftFilter, rightFilter;
    const double gain = 0.5 / std::sqrt(static_cast<double>(voices.size()));
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        if (i % 32 == 0) {
            double along = std::clamp(t / chord.length, 0.0, 1.0);
            double cutoff =
                chord.cutoffStart * std::pow(chord.cutoffEnd / chord.cutoffStart, along);
            // A slow wobble keeps the chord alive over long holds.
            cutoff *= 1.0 + 0.15 * std::sin(2.0 * std::numbers::pi * 0.23 * t);
            leftFilter.setCutoff(cutoff, 0.9);
            rightFilter.setCutoff(cutoff * 1.04, 0.9);
        }
        double envelope = std::min(1.0, std::min(t, chord.length) / chord.attack);
        if (t > chord.length) {
            envelope *= std::exp(-(t - chord.length) / chord.release);
        }
        double left = 0.0, right = 0.0;
        for (size_t v = 0; v < voices.size(); ++v) {
            double s = voices[v].saw();
            left += s * (1.0 - pans[v]);
            right += s * (1.0 + pans[v]);
        }
        out.left[i] = static_cast<float>(envelope * gain * leftFilter.process(left).low);
        out.right[i] = static_cast<float>(envelope * gain * rightFilter.process(right).low);
    }
    return out;
}

}  // namespace music
