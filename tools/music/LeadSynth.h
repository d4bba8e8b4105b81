#pragma once

#include <vector>

namespace music {

// The melody voice and the arpeggio pluck: two detuned saws and a square an octave down through
// a resonant low-pass with its own decay; long notes get a delayed vibrato.
class LeadSynth {
public:
    struct Note {
        double midi = 69.0;
        double length = 0.2;      // seconds held
        double brightness = 1.0;  // scales how far the filter opens
        double decay = 0.25;      // filter envelope, seconds
        double sustain = 0.7;     // amplitude level held after the pluck
    };

    static std::vector<float> render(const Note& note);
};

}  // namespace music
