#include "tools/music/NoiseRiser.h"

#include <algorithm>
#include <cmath>

#include "tools/music/Biquad.h"
#include "tools/music/Random.h"
#include "tools/music/StateVariableFilter.h"
#include "tools/music/Tempo.h"

namespace music {

std::vector<float> NoiseRiser::render(const Shape& shape, Random& random) {
    const auto frames = static_cast<size_t>(shape.length * kSampleRate);
    std::vector<float> out(frames);
    StateVariableFilter sweep;
    Biquad ceiling1 = Biquad::lowpass(shape.ceilingHz, 0.7);
    Biquad ceiling2 = Biquad::lowpass(shape.ceilingHz, 0.7);
    for (size_t i = 0; i < frames; ++i) {
        double along = static_cast<double>(i) / static_cast<double>(frames);
        if (i % 32 == 0) {
            sweep.setCutoff(shape.fromHz * std::pow(shape.toHz / shape.fromHz, along), shape.q);
        }
        double band = sweep.process(random.bipolar()).band;
        double level = std::pow(along, shape.curve) * std::min(1.0, (1.0 - along) * 200.0);
        out[i] = static_cast<float>(level * ceiling2.process(ceiling1.process(band)));
    }
    return out;
}

}  // namespace music
