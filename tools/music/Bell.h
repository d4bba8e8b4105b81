#pragma once

#include <vector>

namespace music {

// A two-operator FM bell: the modulation index falls faster than the level, so the strike is
// bright and the ring pure. Used for the intro sparkles, the per-second accents and the outro.
class Bell {
public:
    struct Note {
        double midi = 81.0;
        double decay = 1.2;
        double ratio = 3.5;  // modulator frequency over carrier frequency
        double index = 2.5;
    };

    static std::vector<float> render(const Note& note);
};

}  // namespace music
