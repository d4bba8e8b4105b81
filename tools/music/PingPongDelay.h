#pragma once

#include <vector>

namespace music {

// Echoes that bounce between the channels, each repeat darker than the last.
class PingPongDelay {
public:
    struct Setting {
        double seconds = 0.33;
        double feedback = 0.45;
        double toneHz = 4000.0;  // low-pass inside the feedback loop
    };

    // Adds the echoes of the send bus (`left`, `right`) into the outputs.
    static void process(const Setting& setting, const std::vector<double>& left,
                        const std::vector<double>& right, std::vector<double>& outLeft,
                        std::vector<double>& outRight);
};

}  // namespace music
