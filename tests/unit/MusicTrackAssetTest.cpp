#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/sound/DecodedTrack.h"
#include "platform/sound/OfflineMusicReader.h"

// The committed music file, as laid out in build/data: long enough for the show, at the rate the
// spectrum bands assume, below full scale and with content up to the top band (encoded without
// the encoder's low-pass).
namespace {

TEST(MusicTrackAssetTest, TrackFitsTheShow) {
    sound::SoundResult result = sound::SoundResult::Format;
    auto track = sound::DecodedTrack::decode("data/vorx.mp3", &result);
    ASSERT_NE(track, nullptr) << sound::soundResultName(result);
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

}  // namespace
