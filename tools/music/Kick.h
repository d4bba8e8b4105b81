#pragma once

#include <vector>

namespace music {

// A bass drum: a sine whose pitch falls fast from `punchHz` to `bodyHz`, with a short click.
// Long decays and low pitches make the impacts at the section changes; high ones make toms.
class Kick {
public:
    struct Tone {
        double bodyHz = 47.0;
        double punchHz = 170.0;
        double decay = 0.30;  // seconds to fall by 1/e
        double click = 0.35;
    };

    static std::vector<float> render(const Tone& tone);
};

}  // namespace music
