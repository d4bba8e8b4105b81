#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "tools/music/PingPongDelay.h"
#include "tools/music/Reverb.h"

namespace music {

// The track's mixing desk: three buses (drums; music, which the kick ducks; effects), a reverb
// and a delay send, a master fade, a soft clipper and peak normalisation.
class Mixer {
public:
    enum class Bus { Drums, Music, Effects };

    struct Send {
        double gain = 1.0;
        double pan = 0.0;  // -1 left .. 1 right
        double reverb = 0.0;
        double delay = 0.0;
    };

    explicit Mixer(double seconds);

    void place(Bus bus, double start, std::span<const float> mono, const Send& send);
    void placeStereo(Bus bus, double start, std::span<const float> left,
                     std::span<const float> right, const Send& send);
    // A sidechain trigger: the music bus dips by `depth` at `time` and recovers within a beat.
    void duck(double time, double depth);
    // The whole mix fades out (raised cosine) between these times and is silent after.
    void setFade(double start, double end);

    // Mixes everything down to interleaved stereo whose highest absolute sample is `peak`.
    std::vector<float> master(const Reverb::Room& room, const PingPongDelay::Setting& delay,
                              double peak) const;

    size_t frames() const { return duckGain_.size(); }

private:
    struct Stereo {
        std::vector<double> left;
        std::vector<double> right;
    };

    Stereo& bus(Bus which);
    void add(Stereo& target, size_t first, std::span<const float> samples, double gainLeft,
             double gainRight);
    double fadeAt(double seconds) const;

    Stereo drums_, music_, effects_, reverbSend_, delaySend_;
    std::vector<double> duckGain_;
    double fadeStart_ = 1e9;
    double fadeEnd_ = 1e9;
};

}  // namespace music
