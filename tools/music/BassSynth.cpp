#include "tools/music/BassSynth.h"

#include <algorithm>
#include <cmath>

#include "tools/music/Oscillator.h"
#include "tools/music/StateVariableFilter.h"
#include "tools/music/Tempo.h"

namespace music {

std::vector<float> BassSynth::render(const Note& note) {
    constexpr double kRelease = 0.02;
    const auto frames = static_cast<size_t>((note.length + 5.0 * kRelease) * kSampleRate);
    std::vector<float> out(frames);
    double hz = midiHz(note.midi);
    Oscillator sawA(0.0), sawB(0.37), sub(0.0);
    sawA.setFrequency(hz * 1.003);
    sawB.setFrequency(hz * 0.997);
    sub.setFrequency(hz * 0.5);
    StateVariableFilter filter;
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        if (i % 16 == 0) {
            filter.setCutoff(note.cutoff + note.envelopeHz * std::exp(-t / 0.06), 1.4);
        }
        double gate =
            t < note.length ? std::min(1.0, t / 0.002) : std::exp(-(t - note.length) / kRelease);
        double raw = 0.5 * (sawA.saw() + sawB.saw());
        double tone = filter.process(raw).low + note.sub * sub.sine();
        out[i] = static_cast<float>(gate * std::tanh(1.4 * tone));
    }
    return out;
}

}  // namespace music
