// Supersampling and motion blur on scenes drawn on the CPU, whose edges and motion are known
// exactly: what the averaging must do to them, in linear light, and that one plain render comes
// through untouched.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "tools/capture/FrameComposer.h"
#include "tools/capture/LinearLight.h"

namespace {

// White where `lit(x, y, seconds)` holds at the pixel's centre (in output pixels), else black.
class DrawnScene final : public IFrameSource {
public:
    using Lit = std::function<bool(double x, double y, Rational seconds)>;

    DrawnScene(int width, int height, int factor, Lit lit)
        : width_(width * factor),
          height_(height * factor),
          factor_(factor),
          lit_(std::move(lit)),
          bgrx_(std::size_t(width_) * height_ * 4) {}

    bool render(Rational seconds) override {
        times.push_back(seconds);
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const bool lit = lit_((x + 0.5) / factor_, (y + 0.5) / factor_, seconds);
                const std::size_t at = (std::size_t(y) * width_ + x) * 4;
                bgrx_[at] = bgrx_[at + 1] = bgrx_[at + 2] = lit ? 255 : 0;
                bgrx_[at + 3] = 0;
            }
        }
        return true;
    }
    std::span<const std::uint8_t> bgrx() const override { return bgrx_; }
    const std::string& error() const override { return error_; }

    std::vector<Rational> times;

private:
    int width_;
    int height_;
    int factor_;
    Lit lit_;
    std::vector<std::uint8_t> bgrx_;
    std::string error_;
};

TEST(LinearLightTest, EveryByteComesBackExactlyAndAveragesAreTakenInLinearLight) {
    for (int v = 0; v < 256; ++v) {
        const float linear = LinearLight::fromByte(static_cast<std::uint8_t>(v));
        EXPECT_EQ(LinearLight::toByte(linear), v);
        EXPECT_EQ(LinearLight::toWord(linear), v * 257);
    }
    // Half white, half black is 50 % light: 188, not 128.
    EXPECT_EQ(LinearLight::toByte((LinearLight::fromByte(0) + LinearLight::fromByte(255)) / 2),
              188);
}

// The grey levels a picture has besides black and white.
std::set<std::uint8_t> greys(const Image& image) {
    std::set<std::uint8_t> found;
    for (std::uint8_t value : image.rgb) {
        if (value != 0 && value != 255) {
            found.insert(value);
        }
    }
    return found;
}

TEST(FrameComposerTest, SupersamplingSoftensAHardEdgeByItsCoverage) {
    // A slanted edge: lit below y = 0.3 x + 2.
    const auto below = [](double x, double y, Rational) { return y > 0.3 * x + 2.0; };
    DrawnScene plain(48, 24, 1, below);
    FrameComposer once(plain, {48, 24, 1, 1, {180, 1}, {60, 1}, false});
    ASSERT_TRUE(once.compose(0));
    EXPECT_TRUE(greys(once.rgb()).empty());

    DrawnScene fine(48, 24, 4, below);
    FrameComposer sixteen(fine, {48, 24, 4, 1, {180, 1}, {60, 1}, false});
    ASSERT_TRUE(sixteen.compose(0));
    const Image soft = sixteen.rgb();
    // The staircase becomes a ramp: a grey pixel in almost every column, many levels of it.
    int greyColumns = 0;
    for (int x = 0; x < 48; ++x) {
        bool grey = false;
        for (int y = 0; y < 24; ++y) {
            const std::uint8_t v = soft.rgb[(std::size_t(y) * 48 + x) * 3];
            grey = grey || (v != 0 && v != 255);
        }
        greyColumns += grey ? 1 : 0;
    }
    EXPECT_GE(greyColumns, 40);
    EXPECT_GE(greys(soft).size(), 8u);
    // Away from the edge nothing changes.
    EXPECT_EQ(soft.rgb[0], 0);
    EXPECT_EQ(soft.rgb.back(), 255);
}

TEST(FrameComposerTest, MotionBlurSmearsABarOverItsPathWhileTheShutterIsOpen) {
    // A bar 2 pixels wide moving right at 1920 pixels a second: 16 pixels in half a frame.
    const auto bar = [](double x, double, Rational t) {
        const double left = 4.0 + 1920.0 * (t.toDouble() - 0.05);
        return x >= left && x < left + 2.0;
    };
    DrawnScene scene(40, 4, 1, bar);
    FrameComposer blurred(scene, {40, 4, 1, 8, {180, 1}, {60, 1}, false});
    ASSERT_TRUE(blurred.compose(3));

    // Sub-frame K of frame 3 at 3/60 + K/960 s exactly: half a frame in eight steps.
    ASSERT_EQ(scene.times.size(), 8u);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(scene.times[std::size_t(k)], Rational::reduced(48 + k, 960)) << k;
    }
    // The bar's 2 pixels plus the 14 it travels between the first and last sub-frame, each lit
    // by one sub-frame in eight: 1/8 of the light.
    const Image picture = blurred.rgb();
    int smeared = 0;
    for (int x = 0; x < 40; ++x) {
        const std::uint8_t v = picture.rgb[std::size_t(x) * 3];
        if (v != 0) {
            ++smeared;
            EXPECT_EQ(v, LinearLight::toByte(0.125f)) << x;
        }
    }
    EXPECT_EQ(smeared, 16);

    // One sub-frame is the plain render at the frame's time, in 8 and in 16 bits.
    DrawnScene still(40, 4, 1, bar);
    FrameComposer plain(still, {40, 4, 1, 1, {180, 1}, {60, 1}, false});
    ASSERT_TRUE(plain.compose(3));
    EXPECT_EQ(still.times, std::vector<Rational>{Rational::reduced(3, 60)});
    const std::vector<std::uint8_t> rendered(still.bgrx().begin(), still.bgrx().end());
    EXPECT_TRUE(std::equal(rendered.begin(), rendered.end(), plain.bytes().begin()));

    FrameComposer deep(still, {40, 4, 1, 1, {180, 1}, {60, 1}, true});
    ASSERT_TRUE(deep.compose(3));
    const auto words = deep.bytes();
    ASSERT_EQ(words.size(), std::size_t(40) * 4 * 6);
    for (std::size_t pixel = 0; pixel < std::size_t(40) * 4; ++pixel) {
        const unsigned red = words[pixel * 6] | (words[pixel * 6 + 1] << 8);
        EXPECT_EQ(red, rendered[pixel * 4 + 2] * 257u) << pixel;
    }
}

}  // namespace
