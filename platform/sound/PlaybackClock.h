#pragma once

#include <cstdint>

#include "platform/sound/ConsumedCounter.h"

namespace sound {

// Turns "the device had taken N frames at time T" into the frame being heard now.
//
// Frames the callback hands over are not heard at once: the device plays out what it already
// holds first. Right after a callback that is `queuedFrames` of output; the queue drains in real
// time until the next callback. So the heard frame is the consumed count minus what is still
// queued, which moves smoothly between callbacks instead of in buffer-sized steps.
// The result never decreases (a late or early callback cannot pull it back). Past the track's
// end it goes on with the time since the last frames were handed over, as silence heard; the
// show's timeline then runs to its own end whatever the track's length. Pure arithmetic: time
// comes in as arguments.
class PlaybackClock {
public:
    PlaybackClock(int sampleRate, int64_t totalFrames, int64_t queuedFrames);

    int64_t heardFrame(ConsumedCounter::Stamp stamp, int64_t nowNs);
    // The last result of heardFrame (0 before the first).
    int64_t lastFrame() const { return last_; }
    bool ended() const { return last_ >= total_; }

    // Whole frames in a span of nanoseconds, exact for any span of a run's length.
    static int64_t framesIn(int64_t ns, int sampleRate);
    // Whole milliseconds of a frame count, rounded down.
    static uint32_t framesToMs(int64_t frames, int sampleRate);

private:
    int sampleRate_;
    int64_t total_;
    int64_t queued_;
    int64_t last_ = 0;
};

}  // namespace sound
