#pragma once

#include <vector>

namespace music {

class Random;

// Hi-hats, rides and crashes. The sound is split into three independently levelled layers: a
// metallic body (a cluster of detuned square waves and noise, 6-11 kHz), a sizzle band around
// 12.7-14.1 kHz and an air band at 16.9-20.3 kHz. The last two are where the show's overlays
// listen (its spectrum sums s1 and s2), so the arrangement sets how hard each hit drives them.
class Cymbal {
public:
    struct Tone {
        double decay = 0.04;  // seconds to fall by 1/e
        double body = 1.0;
        double sizzle = 1.0;  // the 12.7-14.1 kHz layer
        double air = 1.0;     // the 16.9-20.3 kHz layer
    };

    static std::vector<float> render(const Tone& tone, Random& random);
};

}  // namespace music
