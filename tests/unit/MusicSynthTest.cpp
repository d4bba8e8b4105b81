#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/sound/DecodedTrack.h"
#include "platform/sound/OfflineMusicReader.h"
#include "tools/music/BandReport.h"
#include "tools/music/Biquad.h"
#include "tools/music/Cymbal.h"
#include "tools/music/Mixer.h"
#include "tools/music/Random.h"
#include "tools/music/StateVariableFilter.h"
#include "tools/music/Tempo.h"

// The music generator's building blocks: the cymbal layers must land in the spectrum bands the
// show listens to, filters must survive the cutoffs the sweeps reach, and the mixer must deliver
// exactly the peak and fade it is asked for.
namespace {

using music::BandReport;
using music::kSampleRate;

std::shared_ptr<const sound::DecodedTrack> monoTrack(const std::vector<float>& mono) {
    std::vector<float> stereo(2 * mono.size());
    for (size_t i = 0; i < mono.size(); ++i) {
        stereo[2 * i] = stereo[2 * i + 1] = mono[i];
    }
    return sound::DecodedTrack::fromSamples(std::move(stereo), kSampleRate);
}

// Mean s1 and s2 over the first `seconds` of a mono signal.
std::pair<double, double> bandMeans(const std::vector<float>& mono, double seconds) {
    sound::OfflineMusicReader reader(monoTrack(mono));
    auto stretch = BandReport::measure(reader, 0.003, seconds);
    return {stretch.s1.mean, stretch.s2.mean};
}

TEST(MusicSynthTest, CymbalLayersFeedTheirOwnBands) {
    music::Random random(7);
    auto sizzle = music::Cymbal::render({0.2, 0.0, 1.0, 0.0}, random);
    auto air = music::Cymbal::render({0.2, 0.0, 0.0, 1.0}, random);
    auto body = music::Cymbal::render({0.2, 1.0, 0.0, 0.0}, random);

    auto [sizzleS1, sizzleS2] = bandMeans(sizzle, 0.1);
    auto [airS1, airS2] = bandMeans(air, 0.1);
    auto [bodyS1, bodyS2] = bandMeans(body, 0.1);
    EXPECT_GT(sizzleS1, 0.05);
    EXPECT_GT(sizzleS1, 4.0 * sizzleS2) << "the sizzle layer leaks into the air band";
    EXPECT_GT(airS2, 0.05);
    EXPECT_GT(airS2, 4.0 * airS1) << "the air layer leaks into the sizzle band";
    EXPECT_LT(bodyS1 + bodyS2, 0.25 * (sizzleS1 + airS2)) << "the body reaches the top bands";
}

TEST(MusicSynthTest, FiltersStayFiniteAtExtremeCutoffs) {
    music::Random random(3);
    music::StateVariableFilter sweep;
    std::array<music::Biquad, 3> fixed = {music::Biquad::lowpass(40000.0, 0.7),
                                          music::Biquad::highpass(0.0, 0.01),
                                          music::Biquad::bandpass(kSampleRate, 20.0)};
    double loudest = 0.0;
    for (int i = 0; i < kSampleRate; ++i) {
        // A sweep from far below to far above the audio band, as a riser that overshoots.
        sweep.setCutoff(std::pow(10.0, 7.0 * i / kSampleRate), 0.01 + 0.5 * (i % 7));
        double x = random.bipolar();
        loudest = std::max(loudest, std::abs(sweep.process(x).low));
        for (auto& filter : fixed) {
            loudest = std::max(loudest, std::abs(filter.process(x)));
        }
    }
    EXPECT_TRUE(std::isfinite(loudest));
    EXPECT_LT(loudest, 100.0);
}

TEST(MusicSynthTest, MixerDeliversPeakAndFadeAndClipsPlacementsToTheTrack) {
    music::Mixer mixer(2.0);
    std::vector<float> tone(kSampleRate);
    for (size_t i = 0; i < tone.size(); ++i) {
        tone[i] =
            static_cast<float>(3.0 * std::sin(2.0 * std::numbers::pi * 220.0 * i / kSampleRate));
    }
    mixer.place(music::Mixer::Bus::Music, 0.5, tone, {1.0, 0.0, 0.5, 0.5});
    // Starting before the end and running past it, and starting after it: both are cut.
    mixer.place(music::Mixer::Bus::Drums, 1.8, tone, {1.0, -1.0, 0.0, 0.0});
    mixer.place(music::Mixer::Bus::Effects, 5.0, tone, {});
    mixer.duck(0.6, 0.9);
    mixer.setFade(1.0, 1.5);

    auto out = mixer.master({}, {}, 0.8);
    ASSERT_EQ(out.size(), 2u * 2 * kSampleRate);
    float peak = 0.0f;
    for (float v : out) {
        peak = std::max(peak, std::abs(v));
    }
    EXPECT_NEAR(peak, 0.8f, 1e-4f);
    for (size_t i = static_cast<size_t>(1.5 * kSampleRate); i < out.size() / 2; ++i) {
        ASSERT_EQ(out[2 * i], 0.0f) << "sound after the fade at frame " << i;
        ASSERT_EQ(out[2 * i + 1], 0.0f);
    }
    EXPECT_EQ(out[0], 0.0f) << "sound before anything was placed";
}

TEST(MusicSynthTest, BandReportSeesWhereInTheBeatTheBandsPulse) {
    // A 13.4 kHz burst on every beat's second eighth: s1 must pulse there, s2 stay silent.
    std::vector<float> mono(static_cast<size_t>(4.0 * kSampleRate));
    for (size_t i = 0; i < mono.size(); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double sinceHit = std::fmod(t, music::kBeat) - 0.5 * music::kBeat;
        if (sinceHit >= 0.0 && sinceHit < 0.03) {
            mono[i] = static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * 13400.0 * t));
        }
    }
    sound::OfflineMusicReader reader(monoTrack(mono));
    auto stretch = BandReport::measure(reader, 0.0, 4.0);
    auto loudest = std::max_element(stretch.s1.profile.begin(), stretch.s1.profile.end());
    EXPECT_EQ(loudest - stretch.s1.profile.begin(), 8) << "pulse found at the wrong sixteenth";
    EXPECT_GT(stretch.s1.peak, 0.4);
    EXPECT_GT(stretch.s1.pulse, 10.0);
    EXPECT_LT(stretch.s2.peak, 0.1 * stretch.s1.peak);
}

}  // namespace
