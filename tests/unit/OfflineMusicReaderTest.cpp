#include "platform/sound/OfflineMusicReader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "tests/unit/SoundSignals.h"

namespace {

using sound::OfflineMusicReader;
using sound::SoundResult;
using Bins = std::array<float, 64>;

// A track of noise-like content (a chord of detuned partials) so spectra differ at each frame.
std::shared_ptr<const sound::DecodedTrack> busyTrack(int64_t frames) {
    auto samples = soundtest::sine(313.0, 0.3, frames);
    auto high = soundtest::sine(9187.0, 0.2, frames, soundtest::kRate, 0.05);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] += high[i];
    }
    return sound::DecodedTrack::fromSamples(std::move(samples), soundtest::kRate);
}

TEST(OfflineMusicReaderTest, SameTrackAndPositionGiveIdenticalSpectra) {
    auto track = busyTrack(soundtest::kRate);
    OfflineMusicReader first(track);
    OfflineMusicReader second(track);
    for (uint32_t ms : {0u, 3u, 250u, 999u}) {
        Bins a{}, b{}, again{};
        ASSERT_EQ(first.spectrumAtMs(ms, a.data()), SoundResult::Ok);
        ASSERT_EQ(second.spectrumAtMs(ms, b.data()), SoundResult::Ok);
        first.spectrumAtMs(ms, again.data());
        EXPECT_EQ(std::memcmp(a.data(), b.data(), sizeof a), 0) << ms << " ms";
        EXPECT_EQ(std::memcmp(a.data(), again.data(), sizeof a), 0) << ms << " ms";
    }
    Bins atMs{}, atFrame{};
    first.spectrumAtMs(250, atMs.data());
    first.spectrumAtFrame(250 * 441 / 10, atFrame.data());
    EXPECT_EQ(atMs, atFrame);
}

TEST(OfflineMusicReaderTest, SpectrumCoversThe128FramesEndingAtThePosition) {
    // Silence, then a bin-centred tone from frame 1000 on, in the left channel only: the mono
    // mix halves it.
    const int64_t onset = 1000;
    auto tone = soundtest::sine(soundtest::binHz(5), 0.8, 4000, soundtest::kRate, 0.0);
    std::vector<float> samples(tone.size(), 0.0f);
    for (size_t i = 2 * onset; i < samples.size(); ++i) {
        samples[i] = tone[i];
    }
    OfflineMusicReader reader(sound::DecodedTrack::fromSamples(samples, soundtest::kRate));
    Bins bins{};
    reader.spectrumAtFrame(onset, bins.data());
    EXPECT_EQ(bins, Bins{}) << "the tone has not been heard yet";
    reader.spectrumAtFrame(onset + 128, bins.data());
    EXPECT_NEAR(bins[5], 0.4f, 1e-4);
    // Before the start and after the end of the track count as silence, not as failures.
    EXPECT_EQ(reader.spectrumAtFrame(-500, bins.data()), SoundResult::Ok);
    EXPECT_EQ(bins, Bins{});
    EXPECT_EQ(reader.spectrumAtFrame(4000 + 128, bins.data()), SoundResult::Ok);
    EXPECT_EQ(bins, Bins{});
}

TEST(OfflineMusicReaderTest, RejectsBadArgumentsWithoutTouchingTheOutput) {
    OfflineMusicReader reader(busyTrack(1000));
    Bins bins;
    bins.fill(3.0f);
    EXPECT_EQ(reader.spectrumAtFrame(500, bins.data(), 0), SoundResult::InvalidParam);
    EXPECT_EQ(reader.spectrumAtFrame(500, bins.data(), 65), SoundResult::InvalidParam);
    EXPECT_EQ(reader.spectrumAtFrame(500, nullptr), SoundResult::InvalidParam);
    EXPECT_EQ(bins[0], 3.0f);
    EXPECT_EQ(bins[63], 3.0f);
}

TEST(OfflineMusicReaderTest, PcmRangesAreCutToTheTrack) {
    auto track = busyTrack(1000);
    OfflineMusicReader reader(track);
    auto middle = reader.pcm(10, 20);
    ASSERT_EQ(middle.size(), 20u);
    EXPECT_EQ(middle.data(), track->samples() + 20);
    EXPECT_EQ(reader.pcm(990, 5000).size(), 20u);
    EXPECT_EQ(reader.pcm(-10, 5).size(), 10u);
    EXPECT_TRUE(reader.pcm(2000, 3000).empty());
    EXPECT_TRUE(reader.pcm(50, 40).empty());
}

}  // namespace
