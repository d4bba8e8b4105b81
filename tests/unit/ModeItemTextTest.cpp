// The display-mode line of the start-up dialog: the ratio is reduced by the largest common
// divisor below half the height, which is not always the greatest common divisor.
#include <gtest/gtest.h>

#include "demo/ModeItemText.h"

namespace {

TEST(ModeItemText, CommonModesReduceToTheirUsualRatios) {
    EXPECT_EQ(modeRatioText(1920, 1080), "16:9");
    EXPECT_EQ(modeRatioText(1280, 1024), "5:4");
    EXPECT_EQ(modeRatioText(1024, 768), "4:3");
    EXPECT_EQ(modeRatioText(1680, 1050), "8:5");
    EXPECT_EQ(modeRatioText(1366, 768), "683:384");
}

TEST(ModeItemText, DivisorsStopBelowHalfTheHeight) {
    // 1024 and 512 divide both sides but are never tried: 256 is the largest found.
    EXPECT_EQ(aspectDivisor(1024, 1024), 256u);
    EXPECT_EQ(modeRatioText(1024, 1024), "4:4");
    // A tall narrow mode: the width's own factors do not matter beyond what the height allows.
    EXPECT_EQ(modeRatioText(600, 800), "3:4");
    // height / 2 = 2: only j = 1 is tried.
    EXPECT_EQ(modeRatioText(10, 5), "10:5");
    EXPECT_EQ(modeRatioText(8, 4), "8:4");
    // height / 2 <= 1: nothing is tried.
    EXPECT_EQ(aspectDivisor(6, 3), 1u);
    EXPECT_EQ(aspectDivisor(0, 0), 1u);
}

TEST(ModeItemText, ItemShowsSizeRatioAndRefreshRate) {
    EXPECT_EQ(modeItemText({1920, 1080, 60, D3DFMT_X8R8G8B8}), "1920x1080  [16:9] 60hz");
    EXPECT_EQ(modeItemText({1366, 768, 75, D3DFMT_X8R8G8B8}), "1366x768  [683:384] 75hz");
    EXPECT_EQ(modeItemText({320, 5, 0, D3DFMT_X8R8G8B8}), "320x5  [320:5] 0hz");
}

}  // namespace
