// The music as the frame loop sees it: the play position and the spectrum of what is heard.
// The live stream and a test's hand-set clock both stand behind it.
#pragma once

#include <cstdint>
#include <optional>

class IMusicClock {
public:
    virtual ~IMusicClock() = default;

    // Milliseconds of music heard so far; empty when the position could not be read.
    virtual std::optional<std::uint32_t> positionMs() = 0;
    // Writes `count` magnitudes, lowest band first. False when no fresh values could be had;
    // `out` may then hold the previous frame's values or whatever the source left.
    virtual bool fetchSpectrum(float* out, int count) = 0;
};
