#pragma once

#include <span>
#include <vector>

namespace music {

// A slow string-like chord: several detuned saws per note spread across the stereo field,
// through a low-pass whose cutoff glides from `cutoffStart` to `cutoffEnd` over the chord.
class PadSynth {
public:
    struct Chord {
        std::span<const double> notes;
        double length = 4.0;  // seconds held, before the release
        double attack = 0.8;
        double release = 1.2;
        double cutoffStart = 800.0;
        double cutoffEnd = 800.0;
    };

    struct Stereo {
        std::vector<float> left;
        std::vector<float> right;
    };

    static Stereo render(const Chord& chord);
};

}  // namespace music
