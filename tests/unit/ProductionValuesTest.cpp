// The values that define the show's overlays at chosen moments: the overlay plans and the
// parameters seeded at part changes, against values worked out by hand from the show's plan. No
// device is involved; the plans only compute.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "demo/OverlayPlan.h"
#include "demo/ProductionImages.h"
#include "demo/ProductionParameters.h"
#include "demo/Timeline.h"

using kelvo::Matrix;
using kelvo::Vec3;

namespace {

float justAbove(float t) {
    return std::nextafter(t, 1000.0f);
}

// Stand-ins for the images: the plans only pass the pointers on.
class ProductionValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetProductionParameters();
        g_texNieluspace = &nieluspace;
        g_texLogo = &logo;
        g_texCredits = &credits;
        for (int i = 0; i < kTextImageCount; ++i) {
            g_texText[i] = &texts[i];
        }
        spectrum.fill(0.0f);
    }
    void TearDown() override {
        g_texNieluspace = g_texLogo = g_texCredits = nullptr;
        for (auto& text : g_texText) {
            text = nullptr;
        }
        resetProductionParameters();
    }

    kelvo::Texture nieluspace, logo, credits;
    std::array<kelvo::Texture, kTextImageCount> texts;
    std::array<float, 64> spectrum{};
};

}  // namespace

TEST_F(ProductionValuesTest, PartZeroTracksAtThePhraseMarks) {
    struct Mark {
        float t, scroll, scale, alpha, power, radius;
    };
    for (const Mark& m :
         {Mark{0.0f, 80, 0.001f, 1, 20, 0.01f}, Mark{timeline::kPhrase, 100, 0.002f, 1, 20, 0.0f},
          Mark{timeline::kLogoStart, 120, 0.004f, 5, 0.5f, 0.001f}}) {
        const OverlayPlan plan = planPartZero(m.t, spectrum.data());
        EXPECT_NEAR(g_tubeScroll, m.scroll, 1e-3f) << m.t;
        EXPECT_NEAR(g_tubeScale, m.scale, 1e-6f) << m.t;
        EXPECT_NEAR(plan.bloomAlpha, m.alpha, 1e-5f) << m.t;
        EXPECT_NEAR(plan.bloomPower, m.power, 1e-4f) << m.t;
        EXPECT_NEAR(plan.bloomRadius, m.radius, 1e-6f) << m.t;
        // Exactly at 55.65 s neither the flash nor the logo applies.
        EXPECT_EQ(plan.image, &nieluspace) << m.t;
        EXPECT_EQ(plan.textAlpha, 0.0f) << m.t;
        EXPECT_EQ(plan.textThickness, 0.0f) << m.t;
        EXPECT_EQ(plan.textWeight, 1.0f) << m.t;
        EXPECT_EQ(plan.transform, Matrix::identity()) << m.t;
    }
}

TEST_F(ProductionValuesTest, FlashIsOpenAtItsStartAndClosedAtItsEnd) {
    planPartZero(timeline::kFlashStart, spectrum.data());
    EXPECT_EQ(g_textThickness, 0.0f);
    EXPECT_EQ(g_textAlpha, 0.0f);

    const OverlayPlan first = planPartZero(justAbove(timeline::kFlashStart), spectrum.data());
    EXPECT_EQ(first.textThickness, 1.0f);
    EXPECT_NEAR(first.textWeight, 1.0f, 1e-4f);
    EXPECT_NEAR(first.transform(0, 0), 1.0f, 1e-4f);

    const OverlayPlan rising =
        planPartZero(timeline::kFlashStart + timeline::kFlashLength / 20.0f, spectrum.data());
    EXPECT_NEAR(rising.textAlpha, 0.5f, 1e-3f);  // sin(10a) at a = pi / 20
    // The flash grows by the seconds it has been open: 0.0496875 of them.
    EXPECT_NEAR(rising.transform(1, 1), 1.0496875f, 1e-5f);

    const OverlayPlan middle =
        planPartZero(timeline::kFlashStart + timeline::kFlashLength / 2, spectrum.data());
    EXPECT_NEAR(middle.textWeight, 0.0f, 1e-4f);

    const OverlayPlan last = planPartZero(timeline::kFlashEnd, spectrum.data());
    EXPECT_EQ(last.textThickness, 1.0f);
    EXPECT_NEAR(last.textWeight, 1.0f, 1e-4f);
    EXPECT_NEAR(last.transform(2, 2), 1.99375f, 1e-4f);

    const float alphaLeft = g_textAlpha;
    const OverlayPlan after = planPartZero(justAbove(timeline::kFlashEnd), spectrum.data());
    EXPECT_EQ(after.textThickness, 0.0f);
    EXPECT_EQ(after.transform, Matrix::identity());
    // The flash's last alpha stays until the logo writes it.
    EXPECT_EQ(after.textAlpha, alphaLeft);
}

TEST_F(ProductionValuesTest, LogoFollowsTheSpectrumAndOverridesTheTubeScale) {
    spectrum[37] = 0.1f;
    spectrum[40] = 0.05f;
    spectrum[36] = spectrum[41] = 7.0f;  // outside the sums
    spectrum[49] = 0.1f;
    spectrum[59] = 0.05f;
    // Both sums are 0.15; the logo has been up for 4.35 s.
    const OverlayPlan plan = planPartZero(60.0f, spectrum.data());
    EXPECT_EQ(plan.image, &logo);
    EXPECT_NEAR(plan.textThickness, 0.7f, 1e-6f);
    EXPECT_NEAR(plan.textWeight, 0.66f, 1e-6f);
    EXPECT_NEAR(plan.textAlpha, 0.95f, 1e-6f);
    EXPECT_NEAR(g_tubeScale, 0.3435f, 1e-6f);
    EXPECT_EQ(plan.bloomRadius, 0.48f);
    EXPECT_EQ(plan.bloomAlpha, 5.5f);
    EXPECT_EQ(plan.bloomPower, 3.5f);
    EXPECT_NEAR(plan.transform(0, 0), 0.856334f, 1e-5f);
}

TEST_F(ProductionValuesTest, PartOneShowsItsTextsInTurnWithTheSeededValues) {
    EXPECT_EQ(textImageIndex(timeline::kPartOneStart), 2);
    EXPECT_EQ(textImageIndex(timeline::kPartOneStart + timeline::kQuarterPhrase + 0.01f), 3);
    EXPECT_EQ(textImageIndex(timeline::kPartOneStart + 2 * timeline::kQuarterPhrase + 0.01f), 0);

    g_textAlpha = 0.25f;  // left by part 0
    enterPart(1, timeline::kPartOneStart);
    const OverlayPlan plan = planPartOne(timeline::kPartOneStart, spectrum.data());
    EXPECT_EQ(plan.image, &texts[2]);
    EXPECT_EQ(plan.textAlpha, 0.25f);
    EXPECT_EQ(plan.textThickness, 0.1f);
    EXPECT_EQ(plan.textWeight, 0.95f);
    EXPECT_FLOAT_EQ(plan.bloomRadius, 0.001f);
    EXPECT_FLOAT_EQ(plan.bloomAlpha, 0.1f);
    // The seeded 3 swayed by sin(t), silence adding nothing.
    EXPECT_NEAR(plan.bloomPower, 3.43268f, 1e-5f);
    EXPECT_FALSE(plan.fade);

    // After the growth mark the radius grows with time; the parameters are not written back.
    const OverlayPlan late = planPartOne(100.0f, spectrum.data());
    EXPECT_NEAR(late.bloomRadius, 2.6135f, 1e-4f);
    EXPECT_EQ(g_bloomRadius, 0.001f);
}

TEST_F(ProductionValuesTest, PartOneJittersOnlyInsideItsWindow) {
    const float quiet = timeline::kPartOneStart + 0.3f * timeline::kQuarterPhrase;
    const OverlayPlan steady = planPartOne(quiet, spectrum.data());
    Matrix scaled = Matrix::identity();
    scaled(0, 0) = scaled(1, 1) = scaled(2, 2) = 1.1f;
    EXPECT_EQ(steady.transform, scaled);

    const float window = 11 * timeline::kQuarterPhrase + 0.105f * timeline::kQuarterPhrase;
    ASSERT_GT(window, timeline::kPartOneStart);
    const OverlayPlan jolted = planPartOne(window, spectrum.data());
    EXPECT_NE(jolted.transform, scaled);
    // Rotations keep lengths: each row is 1.1 long.
    for (int row = 0; row < 3; ++row) {
        const Vec3 r{jolted.transform(row, 0), jolted.transform(row, 1), jolted.transform(row, 2)};
        EXPECT_NEAR(kelvo::length(r), 1.1f, 1e-5f);
    }
}

TEST_F(ProductionValuesTest, PartChangesSeedFromThePartsOwnValues) {
    g_bloomRadius = 0.7f;
    enterPart(0, 3.0f);
    EXPECT_EQ(g_partStartTime, 3.0f);
    EXPECT_EQ(g_bloomRadius, 0.7f);
    EXPECT_EQ(g_bloomAlpha, 0.0f);

    g_textWeight = 0.4f;
    enterPart(2, 111.3f);
    EXPECT_EQ(g_partStartTime, 111.3f);
    EXPECT_EQ(g_bloomAlpha, 5.5f);
    EXPECT_EQ(g_bloomPower, 3.0f);
    EXPECT_EQ(g_textWeight, 0.4f);
    EXPECT_EQ(g_bloomRadius, 0.7f);
}

TEST_F(ProductionValuesTest, CreditsFadeOutAndStayOut) {
    enterPart(2, 111.3f);
    const OverlayPlan start = planPartTwo(111.3f);
    EXPECT_EQ(start.image, &credits);
    EXPECT_TRUE(start.fade);
    EXPECT_EQ(start.fadeAmount, 1.0f);
    EXPECT_EQ(start.textAlpha, 0.0f);
    EXPECT_EQ(start.transform, Matrix::identity());
    EXPECT_EQ(start.bloomAlpha, 5.5f);

    const OverlayPlan middle = planPartTwo(111.3f + 5.565f);
    EXPECT_NEAR(middle.fadeAmount, 0.8f, 1e-4f);
    EXPECT_NEAR(middle.textAlpha, 1.0f, 1e-4f);
    EXPECT_NEAR(middle.textWeight, 0.96f, 1e-4f);

    EXPECT_NEAR(planPartTwo(111.3f + 11.13f).fadeAmount, 0.0f, 1e-5f);
    EXPECT_EQ(planPartTwo(111.3f + 12.0f).fadeAmount, 0.0f);
    EXPECT_EQ(planPartTwo(126.0f).fadeAmount, 0.0f);
}
