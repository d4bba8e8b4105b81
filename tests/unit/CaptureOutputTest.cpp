// What capture reports and judges: the golden-frame comparison (which must pass renderer noise
// and fail real changes), the progress line, the golden file names and the benchmark's
// percentiles.
#include <gtest/gtest.h>

#include "tools/bench/show/FrameStatistics.h"
#include "tools/capture/CaptureCommand.h"
#include "tools/capture/GoldenFrames.h"
#include "tools/capture/ImageDifference.h"
#include "tools/capture/ProgressLine.h"

namespace {

// A picture with some structure: a gradient and a bright box.
Image scene(int boxX) {
    Image image = Image::blank(64, 36);
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 64; ++x) {
            std::uint8_t* p = &image.rgb[(std::size_t(y) * 64 + x) * 3];
            const bool box = x >= boxX && x < boxX + 16 && y >= 10 && y < 26;
            p[0] = box ? 250 : static_cast<std::uint8_t>(x * 3);
            p[1] = box ? 240 : static_cast<std::uint8_t>(y * 5);
            p[2] = box ? 230 : 40;
        }
    }
    return image;
}

TEST(ImageDifferenceTest, RendererNoisePassesAndRealChangesFail) {
    const GoldenTolerance tolerance;
    const Image golden = scene(20);
    EXPECT_TRUE(
        ImageDifference::between(golden, golden, tolerance.pixelThreshold).within(tolerance));

    // Rounding in shader arithmetic: red off by one everywhere, green by two in a quarter.
    Image noisy = golden;
    for (std::size_t pixel = 0; pixel < noisy.rgb.size() / 3; ++pixel) {
        noisy.rgb[pixel * 3] = static_cast<std::uint8_t>(noisy.rgb[pixel * 3] ^ 1);
        if (pixel % 4 == 0) {
            noisy.rgb[pixel * 3 + 1] = static_cast<std::uint8_t>(noisy.rgb[pixel * 3 + 1] ^ 2);
        }
    }
    const ImageDifference noise = ImageDifference::between(golden, noisy, tolerance.pixelThreshold);
    EXPECT_TRUE(noise.within(tolerance)) << noise.describe();
    EXPECT_EQ(noise.worst, 2);

    // A missing full-screen pass brightens or darkens the whole picture.
    Image darker = golden;
    for (auto& channel : darker.rgb) {
        channel = static_cast<std::uint8_t>(channel * 3 / 4);
    }
    EXPECT_FALSE(
        ImageDifference::between(golden, darker, tolerance.pixelThreshold).within(tolerance));

    // A moved camera moves the box.
    const ImageDifference moved =
        ImageDifference::between(golden, scene(30), tolerance.pixelThreshold);
    EXPECT_FALSE(moved.within(tolerance)) << moved.describe();
    EXPECT_GE(moved.worstX, 20);
    EXPECT_GE(moved.worstY, 10);
    EXPECT_EQ(moved.picture.width, 64);

    const ImageDifference resized =
        ImageDifference::between(golden, Image::blank(32, 18), tolerance.pixelThreshold);
    EXPECT_FALSE(resized.sameSize);
    EXPECT_FALSE(resized.within(tolerance));
}

TEST(ImageDifferenceTest, ASingleWrongPixelOverTheThresholdIsToleratedButAWrongBlockIsNot) {
    const GoldenTolerance tolerance;
    const Image golden = Image::blank(100, 100);
    Image speck = golden;
    speck.rgb[3 * 5050] = 255;
    const ImageDifference one = ImageDifference::between(golden, speck, tolerance.pixelThreshold);
    EXPECT_TRUE(one.within(tolerance)) << one.describe();
    EXPECT_EQ(one.worst, 255);
    EXPECT_EQ(one.worstX, 50);
    EXPECT_EQ(one.worstY, 50);

    // 2 % of the pixels changed (a wrong small texture, a missing text line).
    Image block = golden;
    for (int i = 0; i < 200; ++i) {
        block.rgb[3 * std::size_t(i)] = 200;
    }
    EXPECT_FALSE(
        ImageDifference::between(golden, block, tolerance.pixelThreshold).within(tolerance));
}

TEST(CaptureOutputTest, ProgressLineShowsFramesRateAndTimeLeft) {
    EXPECT_EQ(ProgressLine::format(0, 7560, 0.0), "frame 0/7560");
    EXPECT_EQ(ProgressLine::format(120, 7560, 10.0), "frame 120/7560  12.0 fps  10:20 left");
    EXPECT_EQ(ProgressLine::format(7560, 7560, 600.0), "frame 7560/7560  12.6 fps  0:00 left");
    // Slow archive captures: seconds per frame, hours, and the estimate before the first frame.
    EXPECT_EQ(ProgressLine::format(3, 600, 30.0), "frame 3/600  10.0 s/frame  1:39:30 left");
    EXPECT_EQ(ProgressLine::formatEstimate(7560, 4000.0), "frame 0/7560  about 1:06:40 in all");
}

TEST(CaptureOutputTest, FileNamesSortInTimeOrder) {
    EXPECT_EQ(golden::fileName({1, 1}), "t_001.000.png");
    EXPECT_EQ(golden::fileName(*parseRational("53.8")), "t_053.800.png");
    EXPECT_EQ(golden::fileName(*parseRational("123.5")), "t_123.500.png");
    EXPECT_EQ(golden::fileName(*parseRational("0.0005")), "t_000.0005.png");
    EXPECT_EQ(sequenceFileName(7559), "frame_007559.png");
    const std::vector<Rational> times = golden::keyTimes();
    EXPECT_GE(times.size(), 12u);
    EXPECT_LE(times.size(), 20u);
    for (std::size_t i = 1; i < times.size(); ++i) {
        EXPECT_LT(golden::fileName(times[i - 1]), golden::fileName(times[i]));
    }
}

TEST(CaptureOutputTest, PercentilesUseTheNearestRank) {
    FrameStatistics statistics;
    EXPECT_EQ(statistics.median(), 0.0);
    for (int value = 100; value >= 1; --value) {
        statistics.add(value);
    }
    EXPECT_EQ(statistics.median(), 50.0);
    EXPECT_EQ(statistics.percentile(95.0), 95.0);
    EXPECT_EQ(statistics.worst(), 100.0);
    EXPECT_EQ(statistics.percentile(0.0), 1.0);
}

}  // namespace
