#include <gtest/gtest.h>

#include <array>

#include "demo/KeyframeTrack.h"
#include "demo/Timeline.h"

TEST(KeyframeTrackTest, InterpolatesPerPhraseAndHoldsPastTheLastKey) {
    static constexpr std::array<float, 3> keys{1.0f, 0.8f, 0.0f};
    const KeyframeTrack track(keys);
    EXPECT_FLOAT_EQ(track.valueAt(0.0f), 1.0f);
    EXPECT_FLOAT_EQ(track.valueAt(timeline::kPhrase / 2), 0.9f);
    EXPECT_NEAR(track.valueAt(1.5f * timeline::kPhrase), 0.4f, 1e-6f);
    EXPECT_FLOAT_EQ(track.valueAt(2 * timeline::kPhrase), 0.0f);
    EXPECT_FLOAT_EQ(track.valueAt(1000.0f), 0.0f);
    EXPECT_FLOAT_EQ(track.valueAt(-3.0f), 1.0f);
}
