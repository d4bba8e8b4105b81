#include "tools/music/Mixer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/music/Tempo.h"

namespace music {

namespace {

size_t frameAt(double seconds) {
    return static_cast<size_t>(std::llround(std::max(0.0, seconds) * kSampleRate));
}

}  // namespace

Mixer::Mixer(double seconds) : duckGain_(frameAt(seconds), 1.0) {
    for (Stereo* s : {&drums_, &music_, &effects_, &reverbSend_, &delaySend_}) {
        s->left.assign(frames(), 0.0);
        s->right.assign(frames(), 0.0);
    }
}

Mixer::Stereo& Mixer::bus(Bus which) {
    switch (which) {
        case Bus::Drums:
            return drums_;
        case Bus::Music:
            return music_;
        case Bus::Effects:
            break;
    }
    return effects_;
}

void Mixer::add(Stereo& target, size_t first, std::span<const float> samples, double gainLeft,
                double gainRight) {
    size_t count = first < frames() ? std::min(samples.size(), frames() - first) : 0;
    for (size_t i = 0; i < count; ++i) {
        target.left[first + i] += gainLeft * samples[i];
        target.right[first + i] += gainRight * samples[i];
    }
}

void Mixer::place(Bus which, double start, std::span<const float> mono, const Send& send) {
    placeStereo(which, start, mono, mono, send);
}

void Mixer::placeStereo(Bus which, double start, std::span<const float> left,
                        std::span<const float> right, const Send& send) {
    size_t first = frameAt(start);
    double gainLeft = send.gain * std::min(1.0, 1.0 - send.pan);
    double gainRight = send.gain * std::min(1.0, 1.0 + send.pan);
    Stereo& target = bus(which);
    add(target, first, left, gainLeft, 0.0);
    add(target, first, right, 0.0, gainRight);
    if (send.reverb > 0.0) {
        add(reverbSend_, first, left, gainLeft * send.reverb, 0.0);
        add(reverbSend_, first, right, 0.0, gainRight * send.reverb);
    }
    if (send.delay > 0.0) {
        add(delaySend_, first, left, gainLeft * send.delay, 0.0);
        add(delaySend_, first, right, 0.0, gainRight * send.delay);
    }
}

void Mixer::duck(double time, double depth) {
    constexpr double kAttack = 0.004;
    constexpr double kRelease = 0.11;
    size_t first = frameAt(time - kAttack);
    size_t end = std::min(frames(), frameAt(time + 6.0 * kRelease));
    for (size_t i = first; i < end; ++i) {
        double dt = static_cast<double>(i) / kSampleRate - time;
        double dip = dt < 0.0 ? depth * (1.0 + dt / kAttack) : depth * std::exp(-dt / kRelease);
        duckGain_[i] = std::min(duckGain_[i], 1.0 - dip);
    }
}

void Mixer::setFade(double start, double end) {
    fadeStart_ = start;
    fadeEnd_ = end;
}

double Mixer::fadeAt(double seconds) const {
    if (seconds <= fadeStart_) {
        return 1.0;
    }
    if (seconds >= fadeEnd_) {
        return 0.0;
    }
    double along = (seconds - fadeStart_) / (fadeEnd_ - fadeStart_);
    return 0.5 + 0.5 * std::cos(std::numbers::pi * along);
}

std::vector<float> Mixer::master(const Reverb::Room& room, const PingPongDelay::Setting& delay,
                                 double peak) const {
    Stereo wet{std::vector<double>(frames()), std::vector<double>(frames())};
    Reverb::process(room, reverbSend_.left, reverbSend_.right, wet.left, wet.right);
    PingPongDelay::process(delay, delaySend_.left, delaySend_.right, wet.left, wet.right);

    std::vector<double> mix(2 * frames());
    double loudest = 0.0;
    for (size_t i = 0; i < frames(); ++i) {
        double fade = fadeAt(static_cast<double>(i) / kSampleRate);
        double l = drums_.left[i] + duckGain_[i] * music_.left[i] + effects_.left[i] + wet.left[i];
        double r =
            drums_.right[i] + duckGain_[i] * music_.right[i] + effects_.right[i] + wet.right[i];
        mix[2 * i] = fade * l;
        mix[2 * i + 1] = fade * r;
        loudest = std::max({loudest, std::abs(mix[2 * i]), std::abs(mix[2 * i + 1])});
    }
    // Drive the loudest moment 1.2x into a tanh curve: kick peaks round off, the rest stays
    // nearly linear. Then scale to the requested peak.
    constexpr double kDrive = 1.2;
    double pre = loudest > 0.0 ? kDrive / loudest : 0.0;
    double post = peak / std::tanh(kDrive);
    std::vector<float> out(mix.size());
    std::transform(mix.begin(), mix.end(), out.begin(),
                   [pre, post](double v) { return static_cast<float>(post * std::tanh(pre * v)); });
    return out;
}

}  // namespace music
