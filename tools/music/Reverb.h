#pragma once

#include <cstddef>
#include <vector>

namespace music {

// A stereo room of parallel damped combs and series all-passes (the classic Schroeder-Moorer
// layout). The input is low-passed first, so tails fill the mids and leave the top spectrum bands
// to the cymbals' own hits; otherwise the high-band overlays would sit on a constant wash.
class Reverb {
public:
    struct Room {
        double size = 0.84;  // comb feedback
        double damping = 0.3;
        double inputCeilingHz = 7000.0;
    };

    // Adds the reverberated signal of `left` and `right` (the send bus) into the outputs.
    static void process(const Room& room, const std::vector<double>& left,
                        const std::vector<double>& right, std::vector<double>& outLeft,
                        std::vector<double>& outRight);
};

}  // namespace music
