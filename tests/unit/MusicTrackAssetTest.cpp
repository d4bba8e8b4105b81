#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/sound/DecodedTrack.h"
#include "platform/sound/OfflineMusicReader.h"
#include "tools/music/BandReport.h"

// The committed music file, as laid out in build/data: long enough for the show, at the rate the
// spectrum bands assume, below full scale and with content up to the top band (encoded without
// the encoder's low-pass). Its high bands must pulse with the beat where the overlays follow them,
// without pinning those overlays at their limits.
namespace {

std::shared_ptr<const sound::DecodedTrack> decodeTrack() {
    sound::SoundResult result = sound::SoundResult::Format;
    auto track = sound::DecodedTrack::decode("data/vorx.mp3", &result);
    EXPECT_NE(track, nullptr) << sound::soundResultName(result);
    return track;
}

// Share of the values at or below `limit`.
double shareAtMost(const std::vector<double>& values, double limit) {
    auto count = std::count_if(values.begin(), values.end(), [&](double v) { return v <= limit; });
    return static_cast<double>(count) / static_cast<double>(values.size());
}

TEST(MusicTrackAssetTest, TrackFitsTheShow) {
    auto track = decodeTrack();
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->sampleRate(), 44100);
    EXPECT_GE(track->lengthMs(), 130000u);

    float peak = 0.0f;
    for (int64_t i = 0; i < 2 * track->frameCount(); ++i) {
        peak = std::max(peak, std::abs(track->samples()[i]));
    }
    EXPECT_LE(peak, 0.8913f) << "peaks at most -1 dBFS";

    sound::OfflineMusicReader reader(track);
    std::array<float, 64> bins{};
    std::array<float, 64> loudest{};
    for (uint32_t ms = 0; ms < 126000; ms += 50) {
        reader.spectrumAtMs(ms, bins.data());
        std::transform(bins.begin(), bins.end(), loudest.begin(), loudest.begin(),
                       [](float a, float b) { return std::max(a, b); });
    }
    for (int k = 0; k < 58; ++k) {
        EXPECT_GT(loudest[k], 0.002f) << "band " << k << " never moves";
    }
}

TEST(MusicTrackAssetTest, HighBandsPulseWithTheBeatWithinTheOverlaysRange) {
    auto track = decodeTrack();
    ASSERT_NE(track, nullptr);
    sound::OfflineMusicReader reader(track);

    // The logo: text weight 0.96 - 2 s2 and thickness 4 s1 + 0.1 follow the hats.
    auto logo = music::BandReport::measure(reader, 56.0, 60.0);
    EXPECT_GT(logo.s1.pulse, 2.0);
    EXPECT_GT(logo.s2.pulse, 2.0);
    EXPECT_GT(logo.s2.peak, 0.1) << "the logo's weight barely moves";
    EXPECT_GT(shareAtMost(logo.s2Values, (0.96 - 0.3) / 2.0), 0.97) << "text weight pinned low";
    EXPECT_GT(shareAtMost(logo.s1Values, (1.5 - 0.1) / 4.0), 0.97) << "text too thick";

    // The groove: bloom alpha 100 s2 and power 450 s1^2 grow fast, so the bands stay low.
    auto groove = music::BandReport::measure(reader, 80.0, 84.0);
    EXPECT_GT(groove.s1.pulse, 2.0);
    EXPECT_GT(groove.s2.pulse, 2.0);
    EXPECT_GT(shareAtMost(groove.s1Values, 0.15), 0.97) << "bloom power explodes";
    EXPECT_GT(shareAtMost(groove.s2Values, 0.05), 0.9) << "bloom alpha explodes";
}

}  // namespace
