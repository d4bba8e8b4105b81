#include "platform/sound/PlaybackClock.h"

#include <algorithm>

namespace sound {

namespace {
constexpr int64_t kNsPerSecond = 1'000'000'000;
}

PlaybackClock::PlaybackClock(int sampleRate, int64_t totalFrames, int64_t queuedFrames)
    : sampleRate_(std::max(sampleRate, 1)),
      total_(std::max<int64_t>(totalFrames, 0)),
      queued_(std::max<int64_t>(queuedFrames, 0)) {}

int64_t PlaybackClock::heardFrame(ConsumedCounter::Stamp stamp, int64_t nowNs) {
    const int64_t sinceStamp = framesIn(std::max<int64_t>(nowNs - stamp.timeNs, 0), sampleRate_);
    // Past one queue length the device has run dry (the callback is late): nothing more of the
    // consumed frames can be heard than were consumed. Once the whole track has been handed
    // over, time goes on in silence at the same rate, so a show longer than its track still
    // reaches its end.
    const bool trackHandedOver = stamp.frames >= total_;
    const int64_t drained = trackHandedOver ? sinceStamp : std::min(sinceStamp, queued_);
    const int64_t estimate = std::max<int64_t>(stamp.frames - queued_ + drained, 0);
    last_ = std::max(last_, estimate);
    return last_;
}

int64_t PlaybackClock::framesIn(int64_t ns, int sampleRate) {
    return ns / kNsPerSecond * sampleRate + ns % kNsPerSecond * sampleRate / kNsPerSecond;
}

uint32_t PlaybackClock::framesToMs(int64_t frames, int sampleRate) {
    return static_cast<uint32_t>(frames * 1000 / std::max(sampleRate, 1));
}

}  // namespace sound
