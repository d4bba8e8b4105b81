// Frame times from exact frame rates: the time, the clock's millisecond and the audio samples of
// every frame follow from its index alone, so a long capture neither drifts from the music nor
// loses or repeats a sample, and the offline clock gives the frame loop that very time.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "demo/FrameLoop.h"
#include "tools/capture/FrameTimeline.h"
#include "tools/capture/MusicSpan.h"
#include "tools/capture/OfflineMusicClock.h"

namespace {

const Rational kNtsc{60000, 1001};

TEST(FrameTimelineTest, FrameTimesAreExactFractions) {
    const FrameTimeline ntsc(kNtsc);
    // 1001 frames of 1001/60000 s each.
    EXPECT_EQ(ntsc.timeOf(1001), (Rational{1002001, 60000}));
    EXPECT_EQ(FrameTimeline::msAt(ntsc.timeOf(1001)), 16700u);
    EXPECT_EQ(FrameTimeline::msAt(ntsc.timeOf(1)), 16u);
    const FrameTimeline sixty(Rational{60, 1});
    EXPECT_EQ(sixty.timeOf(7560), (Rational{126, 1}));
    EXPECT_EQ(FrameTimeline::msAt(sixty.timeOf(7560)), 126000u);
    EXPECT_EQ(FrameTimeline::msAt(sixty.timeOf(7559)), 125983u);
}

TEST(FrameTimelineTest, LongRunsDoNotDriftAndEveryFrameAdvancesTheClock) {
    const FrameTimeline ntsc(kNtsc);
    // 7560 * 1001 / 60000 s = 126.126 s exactly.
    EXPECT_EQ(FrameTimeline::msAt(ntsc.timeOf(7560)), 126126u);

    std::uint32_t previous = FrameTimeline::msAt(ntsc.timeOf(0));
    for (std::int64_t frame = 1; frame <= 7560; ++frame) {
        const std::uint32_t ms = FrameTimeline::msAt(ntsc.timeOf(frame));
        ASSERT_TRUE(ms - previous == 16 || ms - previous == 17) << "frame " << frame;
        previous = ms;
    }
}

TEST(FrameTimelineTest, FrameRangesStartAtTheFirstFrameNotBeforeTheTime) {
    const FrameTimeline sixty(Rational{60, 1});
    EXPECT_EQ(sixty.firstFrameAtOrAfter({0, 1}), 0);
    EXPECT_EQ(sixty.firstFrameAtOrAfter({10, 1}), 600);
    EXPECT_EQ(sixty.firstFrameAtOrAfter(*parseRational("0.05")), 3);
    EXPECT_EQ(sixty.firstFrameAtOrAfter({126, 1}), 7560);
    const FrameTimeline ntsc(kNtsc);
    // 126 s * 59.94 = 7552.4...: frame 7552 is still before the end, 7553 is not.
    EXPECT_EQ(ntsc.firstFrameAtOrAfter({126, 1}), 7553);
    EXPECT_LT(ntsc.timeOf(7552), (Rational{126, 1}));
}

TEST(FrameTimelineTest, FramesOwnConsecutiveSampleSpansThatTileTheMusic) {
    const FrameTimeline ntsc(kNtsc);
    constexpr int rate = 44100;
    // Frame N owns [floor(N * rate * den / num), floor((N + 1) * rate * den / num)).
    EXPECT_EQ(FrameTimeline::sampleAt(ntsc.timeOf(1), rate), 735);   // 735.735
    EXPECT_EQ(FrameTimeline::sampleAt(ntsc.timeOf(3), rate), 2207);  // 2207.2
    std::int64_t owned = 0;
    for (std::int64_t frame = 600; frame < 1200; ++frame) {
        const std::int64_t span = FrameTimeline::sampleAt(ntsc.timeOf(frame + 1), rate) -
                                  FrameTimeline::sampleAt(ntsc.timeOf(frame), rate);
        ASSERT_TRUE(span == 735 || span == 736) << frame;
        owned += span;
    }
    EXPECT_EQ(owned, FrameTimeline::sampleAt(ntsc.timeOf(1200), rate) -
                         FrameTimeline::sampleAt(ntsc.timeOf(600), rate));
    EXPECT_EQ(FrameTimeline::sampleAt(FrameTimeline(Rational{60, 1}).timeOf(60), 48000), 48000);
}

TEST(FrameTimelineTest, MusicSpanIsExactlyAsLongAsTheFramesWithSilenceBeyondTheTrack) {
    std::vector<float> samples;
    for (int frame = 0; frame < 100; ++frame) {
        samples.push_back(static_cast<float>(frame));
        samples.push_back(-static_cast<float>(frame));
    }
    const auto track = sound::DecodedTrack::fromSamples(samples, 1000);

    std::vector<float> inside = musicSpan(*track, 10, 12);
    EXPECT_EQ(inside, (std::vector<float>{10, -10, 11, -11}));
    std::vector<float> pastTheEnd = musicSpan(*track, 98, 102);
    EXPECT_EQ(pastTheEnd, (std::vector<float>{98, -98, 99, -99, 0, 0, 0, 0}));
    std::vector<float> beforeTheStart = musicSpan(*track, -1, 1);
    EXPECT_EQ(beforeTheStart, (std::vector<float>{0, 0, 0, -0}));
    EXPECT_EQ(musicSpan(*track, 150, 152), (std::vector<float>{0, 0, 0, 0}));
    EXPECT_TRUE(musicSpan(*track, 5, 5).empty());
}

TEST(OfflineMusicClockTest, StandsAtTheStartThenGivesTheFramesPositionAndSpectrum) {
    // One second of silence, then a loud tone.
    constexpr int rate = 8000;
    std::vector<float> samples(2 * rate * 2, 0.0f);
    for (int frame = rate; frame < 2 * rate; ++frame) {
        const float value = std::sin(2.0f * std::numbers::pi_v<float> * 1000.0f * frame / rate);
        samples[frame * 2] = samples[frame * 2 + 1] = value;
    }
    OfflineMusicClock clock(sound::DecodedTrack::fromSamples(samples, rate));
    EXPECT_EQ(clock.positionMs(), 0u);

    float spectrum[FrameLoop::kSpectrumBins];
    clock.setTime(*parseRational("0.5"));
    EXPECT_EQ(clock.positionMs(), 500u);
    ASSERT_TRUE(clock.fetchSpectrum(spectrum, FrameLoop::kSpectrumBins));
    float loudest = 0.0f;
    for (float value : spectrum) {
        loudest = std::max(loudest, value);
    }
    EXPECT_EQ(loudest, 0.0f);

    clock.setTime(Rational{3, 2});
    EXPECT_EQ(clock.positionMs(), 1500u);
    ASSERT_TRUE(clock.fetchSpectrum(spectrum, FrameLoop::kSpectrumBins));
    loudest = 0.0f;
    for (float value : spectrum) {
        loudest = std::max(loudest, value);
    }
    EXPECT_GT(loudest, 0.1f);
    EXPECT_FALSE(clock.fetchSpectrum(spectrum, 0));
}

}  // namespace
