#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>
#include <vector>

#include "platform/sound/DecodedTrack.h"
#include "platform/sound/OfflineMusicReader.h"
#include "tools/music/BandReport.h"
#include "tools/music/BassSynth.h"
#include "tools/music/Bell.h"
#include "tools/music/Biquad.h"
#include "tools/music/Cymbal.h"
#include "tools/music/Kick.h"
#include "tools/music/LeadSynth.h"
#include "tools/music/Mixer.h"
#include "tools/music/NoiseRiser.h"
#include "tools/music/Oscillator.h"
#include "tools/music/PadSynth.h"
#include "tools/music/Random.h"
#include "tools/music/Snare.h"
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
    // The rectangular window spreads some of an off-centre tone over every bin; s2 sees only that.
    EXPECT_LT(stretch.s2.peak, 0.3 * stretch.s1.peak);
}

float peakOf(std::span<const float> samples) {
    float peak = 0.0f;
    for (float v : samples) {
        peak = std::max(peak, std::abs(v));
    }
    return peak;
}

TEST(MusicSynthTest, SectionsOfTheShowFallOnBarLines) {
    EXPECT_NEAR(music::barStart(16), 27.825, 1e-9);
    EXPECT_NEAR(music::barStart(32), 55.65, 1e-9);
    EXPECT_NEAR(music::barStart(40), 69.5625, 1e-9);
    EXPECT_NEAR(music::barStart(56), 97.3875, 1e-9);
    EXPECT_NEAR(music::barStart(64), 111.3, 1e-9);
    EXPECT_NEAR(60.0 / music::kBeat, 138.0, 0.01);
}

TEST(MusicSynthTest, EveryNoteStartsAndEndsInSilence) {
    // Notes are finite buffers laid into the mix: one cut before its sound has died clicks.
    music::Random random(11);
    static constexpr double kChord[] = {57.0, 60.0, 64.0};
    auto pad = music::PadSynth::render({kChord, 0.3, 0.6, 0.4, 400.0, 3000.0});
    std::vector<std::pair<const char*, std::vector<float>>> notes = {
        {"kick", music::Kick::render({})},
        {"impact", music::Kick::render({40.0, 140.0, 0.9, 0.5})},
        {"snare", music::Snare::render({}, random)},
        {"hat", music::Cymbal::render({}, random)},
        {"crash", music::Cymbal::render({0.75, 1.0, 0.5, 0.5}, random)},
        {"bass", music::BassSynth::render({})},
        {"lead", music::LeadSynth::render({})},
        {"bell", music::Bell::render({})},
        {"riser", music::NoiseRiser::render({}, random)},
        {"pad", pad.left},
    };
    for (const auto& [name, samples] : notes) {
        ASSERT_GT(samples.size(), 100u) << name;
        float peak = peakOf(samples);
        EXPECT_GT(peak, 0.01f) << name << " is silent";
        EXPECT_LT(std::abs(samples.front()), 0.05f * peak) << name << " starts with a click";
        EXPECT_LT(std::abs(samples.back()), 0.01f * peak) << name << " is cut off";
    }
}

TEST(MusicSynthTest, PadHasNoStepWhenReleasedBeforeItsAttackEnds) {
    static constexpr double kNote[] = {69.0};
    auto pad = music::PadSynth::render({kNote, 0.2, 1.0, 0.5, 400.0, 400.0});
    double largestStep = 0.0;
    for (size_t i = 1; i < pad.left.size(); ++i) {
        largestStep = std::max(largestStep, std::abs(double{pad.left[i]} - pad.left[i - 1]));
    }
    // Filtered down to its fundamental, the note moves by about a tenth of its peak per sample.
    EXPECT_LT(largestStep, 0.25 * peakOf(pad.left));
}

TEST(MusicSynthTest, SawIsBandLimitedAndInTune) {
    // A bright lead note must not fold aliases into the top bands the overlays read.
    music::Oscillator saw;
    saw.setFrequency(2960.0);
    std::vector<float> mono(kSampleRate / 2);
    int rising = 0;
    double previous = 0.0;
    for (auto& v : mono) {
        double x = saw.saw();
        rising += previous < 0.0 && x >= 0.0;
        previous = x;
        v = static_cast<float>(0.5 * x);
    }
    EXPECT_NEAR(rising, 1480, 3);
    // Harmonics 5 and 6 of 2960 Hz (14.8, 17.8 kHz) sit near the bands; the aliases of the
    // higher ones must stay well below a naive saw's, which fills s2 at about 0.3.
    auto [s1, s2] = bandMeans(mono, 0.4);
    EXPECT_LT(s1, 0.12);
    EXPECT_LT(s2, 0.15);
}

TEST(MusicSynthTest, KickDucksTheMusicButNotTheDrums) {
    music::Mixer mixer(1.0);
    std::vector<float> hum(kSampleRate, 0.5f);
    mixer.place(music::Mixer::Bus::Music, 0.0, hum, {});
    mixer.place(music::Mixer::Bus::Drums, 0.0, hum, {});
    mixer.duck(0.5, 0.6);
    auto out = mixer.master({}, {}, 0.5);
    auto level = [&](double t) { return out[2 * static_cast<size_t>(t * kSampleRate)]; };
    float before = level(0.4);
    // Through the soft clipper: about 0.83 of the level when only the music dips, 0.56 when the
    // drums dip with it, 1 when nothing does.
    EXPECT_LT(level(0.505), 0.9f * before) << "no dip at the kick";
    EXPECT_GT(level(0.505), 0.7f * before) << "the drums were ducked too";
    EXPECT_NEAR(level(0.5 + music::kBeat), before, 0.05f * before) << "no recovery within a beat";
}

TEST(MusicSynthTest, EchoesAlternateSidesAndTheRoomDiesAway) {
    const size_t frames = 3 * kSampleRate;
    std::vector<double> click(frames), silence(frames);
    click[0] = 1.0;
    std::vector<double> left(frames), right(frames);
    music::PingPongDelay::process({0.1, 0.5, 20000.0}, click, silence, left, right);
    const size_t echo = static_cast<size_t>(0.1 * kSampleRate);
    auto around = [](const std::vector<double>& v, size_t from) {
        double total = 0.0;
        for (size_t i = from; i < from + 64; ++i) {
            total += std::abs(v[i]);
        }
        return total;
    };
    EXPECT_GT(around(left, echo), 0.5) << "no first echo on the left";
    EXPECT_LT(around(right, echo), 1e-9);
    EXPECT_GT(around(right, 2 * echo), 0.25) << "no second echo on the right";
    EXPECT_LT(around(left, 2 * echo), 1e-9);

    std::vector<double> wetLeft(frames), wetRight(frames);
    music::Reverb::process({}, click, click, wetLeft, wetRight);
    auto energy = [&](size_t from, size_t to) {
        double sum = 0.0;
        for (size_t i = from; i < to; ++i) {
            sum += wetLeft[i] * wetLeft[i] + wetRight[i] * wetRight[i];
        }
        return sum;
    };
    EXPECT_GT(energy(0, kSampleRate / 2), 0.0);
    EXPECT_LT(energy(2 * kSampleRate, frames), 1e-3 * energy(0, kSampleRate / 2));
}

}  // namespace
