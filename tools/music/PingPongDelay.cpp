#include "tools/music/PingPongDelay.h"

#include <cstddef>

#include "tools/music/Biquad.h"
#include "tools/music/Tempo.h"

namespace music {

void PingPongDelay::process(const Setting& setting, const std::vector<double>& left,
                            const std::vector<double>& right, std::vector<double>& outLeft,
                            std::vector<double>& outRight) {
    const auto length = static_cast<size_t>(setting.seconds * kSampleRate);
    std::vector<double> lineLeft(length), lineRight(length);
    Biquad toneLeft = Biquad::lowpass(setting.toneHz, 0.7);
    Biquad toneRight = Biquad::lowpass(setting.toneHz, 0.7);
    size_t index = 0;
    for (size_t i = 0; i < left.size(); ++i) {
        double echoLeft = lineLeft[index];
        double echoRight = lineRight[index];
        // The mono sum enters on the left only; the cross feedback then alternates the sides.
        lineLeft[index] =
            toneLeft.process(0.5 * (left[i] + right[i]) + setting.feedback * echoRight);
        lineRight[index] = toneRight.process(setting.feedback * echoLeft);
        index = (index + 1) % length;
        outLeft[i] += echoLeft;
        outRight[i] += echoRight;
    }
}

}  // namespace music
