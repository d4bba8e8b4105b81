// Frames at an exact rational rate: frame N shows music time N / rate, computed from N every
// time, never by adding up frame durations. The music's own units follow from that time by
// rounding down: the clock's millisecond (what the frame loop is given as the play position) and
// the first audio sample the frame owns, so frame N owns samples [sample(N), sample(N + 1)).
//
// A frame with motion blur is the mean of `count` sub-frames: the shutter opens at the frame's
// time and stays open for `shutter` / 360 of a frame, and sub-frame K is taken K / count of the
// way through it. The first sub-frame is the frame's own time.
#pragma once

#include <cstdint>

#include "tools/capture/Rational.h"

class FrameTimeline {
public:
    explicit FrameTimeline(Rational fps) : fps_(fps) {}

    Rational fps() const { return fps_; }
    // N / fps seconds.
    Rational timeOf(std::int64_t frame) const;
    // The time of sub-frame `index` of `count` of a frame, exactly. Within CaptureOptions' limits
    // (times to an hour, rates to 1000 with denominators to 10^6, 64 sub-frames, shutter angles
    // with one decimal) every part stays below 10^18.
    Rational subFrameTime(std::int64_t frame, int index, int count, Rational shutter) const;
    // The first frame whose time is at or after `seconds`.
    std::int64_t firstFrameAtOrAfter(Rational seconds) const;

    // The music position of a time: whole milliseconds heard so far.
    static std::uint32_t msAt(Rational seconds);
    // The audio sample sounding at a time, at `sampleRate` samples per second.
    static std::int64_t sampleAt(Rational seconds, int sampleRate);

private:
    Rational fps_;
};
