#include "tools/music/Snare.h"

#include <cmath>
#include <numbers>

#include "tools/music/Biquad.h"
#include "tools/music/Random.h"
#include "tools/music/Tempo.h"

namespace music {

std::vector<float> Snare::render(const Tone& tone, Random& random) {
    const auto frames = static_cast<size_t>(tone.decay * 6.0 * kSampleRate);
    std::vector<float> out(frames);
    Biquad high = Biquad::highpass(900.0, 0.7);
    Biquad low1 = Biquad::lowpass(tone.brightness, 0.7);
    Biquad low2 = Biquad::lowpass(tone.brightness, 0.7);
    double phase = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        phase += tone.bodyHz * (1.0 + 0.4 * std::exp(-t / 0.01)) / kSampleRate;
        double body = std::sin(2.0 * std::numbers::pi * phase) * std::exp(-t / 0.045);
        double tail = std::exp(-t / tone.decay);
        double claps = 0.0;
        for (double at : {0.0, 0.011, 0.023}) {
            if (t >= at) {
                claps += std::exp(-(t - at) / 0.006);
            }
        }
        double envelope = (1.0 - tone.clap) * tail + tone.clap * (0.55 * tail + 0.5 * claps);
        double noise = low2.process(low1.process(high.process(random.bipolar())));
        out[i] = static_cast<float>(0.55 * body + 1.3 * noise * envelope);
    }
    return out;
}

}  // namespace music
