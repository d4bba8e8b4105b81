#pragma once

#include <vector>

namespace music {

// A plucked saw bass with a sine sub: the filter opens on each note and closes within a
// sixteenth, which gives the rolling groove its bite.
class BassSynth {
public:
    struct Note {
        double midi = 45.0;
        double length = 0.1;  // seconds the key is held
        double cutoff = 220.0;
        double envelopeHz = 1800.0;  // how far the filter opens at the start of the note
        double sub = 0.6;
    };

    static std::vector<float> render(const Note& note);
};

}  // namespace music
