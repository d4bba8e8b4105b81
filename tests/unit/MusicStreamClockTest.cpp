// With an A/V offset the live clock's spectrum is that of the show's time, not of what is heard.
#include "demo/MusicStreamClock.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/unit/SoundSignals.h"

namespace {

using Bins = std::array<float, 64>;

TEST(MusicStreamClock, OffsetSpectrumFollowsTheShowsTimeAndIsSilentBeforeTheStart) {
    // One second of silence, then a sine in bin 11.
    std::vector<float> samples = soundtest::sine(soundtest::binHz(11), 0.5, 3 * soundtest::kRate);
    std::fill(samples.begin(), samples.begin() + 2 * soundtest::kRate, 0.0f);
    const auto track = sound::DecodedTrack::fromSamples(samples, soundtest::kRate);
    sound::MusicStream stream;
    ASSERT_EQ(stream.open(track), sound::SoundResult::Ok);
    ASSERT_EQ(stream.positionMs(), 0u) << "not playing: heard position 0";

    Bins ahead{}, expected{};
    MusicStreamClock earlier(stream, track, -1500);
    ASSERT_TRUE(earlier.fetchSpectrum(ahead.data(), 64));
    sound::OfflineMusicReader(track).spectrumAtMs(1500, expected.data());
    EXPECT_EQ(ahead, expected);
    EXPECT_GT(ahead[11], 0.4f);

    Bins waiting{};
    waiting.fill(-1.0f);
    MusicStreamClock later(stream, track, 500);
    ASSERT_TRUE(later.fetchSpectrum(waiting.data(), 64));
    EXPECT_EQ(waiting, Bins{}) << "before the music's start the track reads as silence";
}

}  // namespace
