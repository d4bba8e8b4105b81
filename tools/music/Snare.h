#pragma once

#include <vector>

namespace music {

class Random;

// A clap-like snare: a pitched body and a noise burst, the noise kept below the top spectrum
// bands so the cymbals alone decide what the show's high-band overlays see.
class Snare {
public:
    struct Tone {
        double bodyHz = 185.0;
        double decay = 0.16;
        double clap = 1.0;  // 0: a plain snare hit; 1: three quick claps before the tail
        double brightness = 6500.0;
    };

    static std::vector<float> render(const Tone& tone, Random& random);
};

}  // namespace music
