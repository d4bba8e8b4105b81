// Frames at an exact rational rate: frame N shows music time N / rate, computed from N every
// time, never by adding up frame durations. The music's own units follow from that time by
// rounding down: the clock's millisecond (what the frame loop is given as the play position) and
// the first audio sample the frame owns, so frame N owns samples [sample(N), sample(N + 1)).
#pragma once

#include <cstdint>

#include "tools/capture/Rational.h"

class FrameTimeline {
public:
    explicit FrameTimeline(Rational fps) : fps_(fps) {}

    Rational fps() const { return fps_; }
    // N / fps seconds.
    Rational timeOf(std::int64_t frame) const;
    // The first frame whose time is at or after `seconds`.
    std::int64_t firstFrameAtOrAfter(Rational seconds) const;

    // The music position of a time: whole milliseconds heard so far.
    static std::uint32_t msAt(Rational seconds);
    // The audio sample sounding at a time, at `sampleRate` samples per second.
    static std::int64_t sampleAt(Rational seconds, int sampleRate);

private:
    Rational fps_;
};
