#include "platform/sound/PlaybackClock.h"

#include <gtest/gtest.h>

namespace {

using sound::PlaybackClock;
using Stamp = sound::ConsumedCounter::Stamp;

constexpr int kRate = 44100;
constexpr int64_t kQueue = 1024;
constexpr int64_t kMs = 1'000'000;
constexpr int64_t kT0 = 5'000 * kMs;  // an arbitrary monotonic start time

TEST(PlaybackClockTest, HeardFrameIsConsumedLessWhatIsStillQueued) {
    PlaybackClock clock(kRate, 10 * kRate, kQueue);
    EXPECT_EQ(clock.heardFrame({0, 0}, kT0), 0) << "before the first callback";
    // The first callback has just taken a buffer: nothing of it is heard yet.
    EXPECT_EQ(clock.heardFrame({kQueue, kT0}, kT0), 0);
    // 10 ms later 441 frames of the queue have played out.
    EXPECT_EQ(clock.heardFrame({kQueue, kT0}, kT0 + 10 * kMs), 441);
    // A late callback: the queue ran dry, no more than was consumed can have been heard.
    EXPECT_EQ(clock.heardFrame({kQueue, kT0}, kT0 + 1000 * kMs), kQueue);
    // Steady state: each callback takes a buffer while the previous one plays.
    EXPECT_EQ(clock.heardFrame({5 * kQueue, kT0 + 2000 * kMs}, kT0 + 2000 * kMs), 4 * kQueue);
}

TEST(PlaybackClockTest, NeverDecreasesWhateverTheCallbackTiming) {
    PlaybackClock clock(kRate, 10 * kRate, kQueue);
    int64_t heard = clock.heardFrame({4 * kQueue, kT0}, kT0 + 20 * kMs);
    ASSERT_EQ(heard, 3 * kQueue + 882);
    // A stamp whose time moved on without new frames estimates less than was already shown.
    EXPECT_EQ(clock.heardFrame({4 * kQueue, kT0 + 21 * kMs}, kT0 + 21 * kMs), heard);
    // A reading whose clock lags the stamp (taken on another core) counts as no time drained.
    EXPECT_EQ(clock.heardFrame({5 * kQueue, kT0 + 30 * kMs}, kT0 + 29 * kMs), 4 * kQueue);
}

TEST(PlaybackClockTest, GoesOnInSilencePastTheEndOfTheTrack) {
    const int64_t total = 3000;
    PlaybackClock clock(kRate, total, kQueue);
    EXPECT_FALSE(clock.ended());
    // The last callback took the final frames; the queue drains up to the track's length...
    EXPECT_EQ(clock.heardFrame({total, kT0}, kT0), total - kQueue);
    EXPECT_EQ(clock.heardFrame({total, kT0}, kT0 + 10 * kMs), total - kQueue + 441);
    // ...and the time since that callback goes on counting, frame for frame.
    EXPECT_EQ(clock.heardFrame({total, kT0}, kT0 + 1000 * kMs), total - kQueue + kRate);
    EXPECT_TRUE(clock.ended());

    // Tracks shorter than the show, on a steady device (the last frames are handed over one
    // queue before they are heard) and on the silent clock: 126 s after the start the position
    // reads 126 s, as with a full-length track, so the show ends.
    for (const int64_t length : {int64_t{3600} * kRate / 1000, int64_t{100} * kRate}) {
        for (const int64_t queue : {kQueue, int64_t{0}}) {
            PlaybackClock track(kRate, length, queue);
            const int64_t handedOverNs = (length - queue) * 1000 * kMs / kRate;
            const int64_t frame = track.heardFrame({length, handedOverNs}, 126'000 * kMs);
            EXPECT_EQ(PlaybackClock::framesToMs(frame, kRate), 126'000u)
                << length << " frames, queue " << queue;
        }
    }
}

TEST(PlaybackClockTest, SilentClockFollowsElapsedTimeExactly) {
    // No device queue: the frames are the elapsed time itself, exact over a whole run.
    PlaybackClock clock(kRate, 200LL * kRate, 0);
    int64_t elapsed = 126'000 * kMs + 999'999;
    int64_t frames = PlaybackClock::framesIn(elapsed, kRate);
    EXPECT_EQ(frames, 126LL * kRate + 44);  // 0.999999 ms of 44.1 frames per ms
    EXPECT_EQ(clock.heardFrame({frames, kT0}, kT0), frames);
    EXPECT_EQ(PlaybackClock::framesToMs(frames, kRate), 126000u);
    EXPECT_EQ(PlaybackClock::framesToMs(44, kRate), 0u);
    EXPECT_EQ(PlaybackClock::framesToMs(45, kRate), 1u);
    // Days of nanoseconds do not overflow.
    EXPECT_EQ(PlaybackClock::framesIn(3 * 86'400'000 * kMs, 48000), 3LL * 86'400 * 48000);
}

}  // namespace
