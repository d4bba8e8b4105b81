// Writes the temporary music track as a 44.1 kHz stereo WAV: a 138 BPM beat, 132 s long, whose
// sections change where the show changes parts (bar 40 = 69.56 s, bar 64 = 111.3 s; one bar is
// 4 beats = 1.739 s). Hats and noise keep energy up to 20 kHz so every spectrum band moves.
// Deterministic: the noise comes from a fixed-seed generator, so the same binary writes the same
// file. Usage: make_music OUT.wav
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

#include "platform/sound/WavWriter.h"

namespace {

constexpr int kRate = 44100;
constexpr double kBeat = 60.0 / 138.0;
constexpr double kBar = 4 * kBeat;
constexpr double kLength = 132.0;
constexpr double kFadeStart = 126.0;
constexpr double kFadeEnd = 131.0;
constexpr double kPeak = 0.84;  // -1.5 dBFS before encoding leaves room for the encoder's overshoot
constexpr double kTau = 2.0 * std::numbers::pi;

// Bass roots of the four-bar progression, as MIDI notes: A, F, C, G.
constexpr int kRoots[4] = {45, 41, 48, 43};

struct Stereo {
    double left = 0.0;
    double right = 0.0;
    void add(double value, double pan) {  // pan -1 (left) .. 1 (right)
        left += value * (1.0 - pan) * 0.5;
        right += value * (1.0 + pan) * 0.5;
    }
};

double midiHz(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

class Noise {
public:
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ / 2147483648.0 - 1.0;
    }

private:
    uint32_t state_ = 0x9E3779B9u;
};

// Which instruments play in a bar: intro, build, part one, break, part two, part three.
struct Arrangement {
    bool kick, hats, snare, bass, pad, arp;
};

Arrangement arrangementAt(int bar) {
    if (bar < 4)
        return {true, false, false, false, false, false};
    if (bar < 8)
        return {true, true, false, false, false, false};
    if (bar < 16)
        return {true, true, false, true, false, false};
    if (bar < 40)
        return {true, true, true, true, bar >= 24, false};
    if (bar < 44)
        return {false, true, false, false, true, false};
    if (bar < 64)
        return {true, true, true, true, true, bar >= 56};
    return {true, true, true, true, true, true};
}

double kick(double t) {
    // A falling sine: 150 Hz down to 45 Hz within a few tens of milliseconds.
    double phase = kTau * (45.0 * t + (150.0 - 45.0) * 0.03 * (1.0 - std::exp(-t / 0.03)));
    return std::sin(phase) * std::exp(-t / 0.18);
}

double saw(double hz, double t, int harmonics) {
    double sum = 0.0;
    for (int h = 1; h <= harmonics && h * hz < kRate / 2; ++h) {
        sum += std::sin(kTau * h * hz * t) / h;
    }
    return sum * 0.6;
}

void renderFrame(double t, Noise& noise, double& previousNoise, Stereo& out) {
    int bar = static_cast<int>(t / kBar);
    Arrangement a = arrangementAt(bar);
    double inBeat = std::fmod(t, kBeat);
    double inEighth = std::fmod(t, kBeat / 2);
    double inSixteenth = std::fmod(t, kBeat / 4);
    int sixteenth = static_cast<int>(t / (kBeat / 4));
    int beatInBar = static_cast<int>(std::fmod(t, kBar) / kBeat);
    int root = kRoots[bar % 4];

    double white = noise.next();
    double bright = white - previousNoise;  // first difference: a crude high-pass, bright hats
    previousNoise = white;

    if (a.kick)
        out.add(0.9 * kick(inBeat), 0.0);
    if (a.hats) {
        bool offbeat = inBeat >= kBeat / 2;
        if (offbeat)
            out.add(0.35 * bright * std::exp(-inEighth / 0.045), 0.3);
        out.add(0.12 * bright * std::exp(-inSixteenth / 0.015), (sixteenth % 2) ? -0.5 : 0.5);
    }
    if (a.snare && (beatInBar == 1 || beatInBar == 3)) {
        double body = std::sin(kTau * 190.0 * inBeat) * std::exp(-inBeat / 0.06);
        out.add(0.5 * (0.6 * white + 0.4 * body) * std::exp(-inBeat / 0.12), -0.1);
    }
    if (a.bass && inBeat >= kBeat / 2) {
        double gate = std::exp(-inEighth / 0.12);
        out.add(0.35 * saw(midiHz(root), t, 12) * gate, 0.0);
    }
    if (a.pad) {
        static constexpr int kChord[3] = {12, 15, 19};
        double swell = 0.5 - 0.5 * std::cos(kTau * std::fmod(t, kBar) / kBar);
        for (int i = 0; i < 3; ++i) {
            double hz = midiHz(root + kChord[i]);
            out.add(0.06 * swell * std::sin(kTau * hz * 1.003 * t), -0.7);
            out.add(0.06 * swell * std::sin(kTau * hz * 0.997 * t), 0.7);
        }
    }
    if (a.arp) {
        static constexpr int kSteps[4] = {24, 27, 31, 36};
        double hz = midiHz(root + kSteps[sixteenth % 4]);
        double square = std::sin(kTau * hz * t) + std::sin(3 * kTau * hz * t) / 3;
        out.add(0.12 * square * std::exp(-inSixteenth / 0.05), (sixteenth % 2) ? -0.6 : 0.6);
    }
}

double fadeAt(double t) {
    if (t < kFadeStart)
        return 1.0;
    return std::clamp((kFadeEnd - t) / (kFadeEnd - kFadeStart), 0.0, 1.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.wav\n", argv[0]);
        return 2;
    }
    const auto frames = static_cast<size_t>(kLength * kRate);
    std::vector<float> samples(frames * 2);
    std::vector<double> mix(frames * 2);
    Noise noise;
    double previousNoise = 0.0;
    double peak = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / kRate;
        Stereo out;
        renderFrame(t, noise, previousNoise, out);
        double fade = fadeAt(t);
        mix[2 * i] = out.left * fade;
        mix[2 * i + 1] = out.right * fade;
        peak = std::max({peak, std::abs(mix[2 * i]), std::abs(mix[2 * i + 1])});
    }
    double gain = peak > 0.0 ? kPeak / peak : 1.0;
    std::transform(mix.begin(), mix.end(), samples.begin(),
                   [gain](double v) { return static_cast<float>(v * gain); });
    if (!sound::WavWriter::write(argv[1], samples, 2, kRate)) {
        std::fprintf(stderr, "make_music: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("make_music: %s, %.1f s, gain %.3f\n", argv[1], kLength, gain);
    return 0;
}
