#include "tools/music/Cymbal.h"

#include <array>
#include <cmath>

#include "tools/music/Biquad.h"
#include "tools/music/Oscillator.h"
#include "tools/music/Random.h"
#include "tools/music/Tempo.h"

namespace music {

namespace {

// Inharmonic partials of a classic analogue hat, raised a few octaves into the body band.
constexpr std::array<double, 6> kPartials = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};

}  // namespace

std::vector<float> Cymbal::render(const Tone& tone, Random& random) {
    const auto frames = static_cast<size_t>(tone.decay * 7.0 * kSampleRate) + 64;
    std::vector<float> out(frames);

    std::array<Oscillator, kPartials.size()> partials;
    for (size_t p = 0; p < partials.size(); ++p) {
        partials[p] = Oscillator(random.unit());
        partials[p].setFrequency(kPartials[p] * 8.0);
    }
    Biquad bodyHigh = Biquad::highpass(6000.0, 0.7);
    Biquad bodyLow1 = Biquad::lowpass(10500.0, 0.7);
    Biquad bodyLow2 = Biquad::lowpass(10500.0, 0.7);
    Biquad sizzle1 = Biquad::bandpass(13400.0, 5.0);
    Biquad sizzle2 = Biquad::bandpass(13400.0, 5.0);
    Biquad air1 = Biquad::highpass(17300.0, 0.7);
    Biquad air2 = Biquad::highpass(17300.0, 0.7);
    Biquad airTop = Biquad::lowpass(20000.0, 0.7);

    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double envelope = std::min(1.0, t / 0.0007) * std::exp(-t / tone.decay);
        double metal = 0.0;
        for (auto& partial : partials) {
            metal += partial.square();
        }
        double noise = random.bipolar();
        double body = bodyLow2.process(bodyLow1.process(bodyHigh.process(0.12 * metal + noise)));
        double sizzle = sizzle2.process(sizzle1.process(noise));
        double air = airTop.process(air2.process(air1.process(random.bipolar())));
        // The air layer decays a little faster: real cymbals lose their top first.
        double airEnvelope = envelope * std::exp(-t / (2.0 * tone.decay));
        out[i] = static_cast<float>(envelope * (tone.body * body + tone.sizzle * 4.0 * sizzle) +
                                    airEnvelope * tone.air * 2.0 * air);
    }
    return out;
}

}  // namespace music
