// The values that define the show at chosen moments: camera programs, overlay plans, the
// parameters seeded at part changes. No device is involved; the plans only compute.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "demo/CameraPrograms.h"
#include "demo/CameraRig.h"
#include "demo/KeyframeTrack.h"
#include "demo/OverlayPlan.h"
#include "demo/ProductionImages.h"
#include "demo/ProductionParameters.h"
#include "demo/Timeline.h"

using kelvo::Matrix;
using kelvo::Vec3;

namespace {

void expectNear(const Vec3& actual, const Vec3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

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

TEST(CameraRigTest, RollAndStrafeFollowTheHandednessTheShowWasFramedWith) {
    CameraRig rig;
    rig.roll(std::numbers::pi_v<float> / 2);
    expectNear(rig.up, {1, 0, 0});

    rig.reset();
    rig.strafe(2.0f);
    expectNear(rig.pos, {-2, 0, 0});

    rig.up = {1, 0, 0};
    rig.pos = {};
    rig.strafe(2.0f);
    expectNear(rig.pos, {0, 2, 0});
    rig.roll(0.25f);
    expectNear(rig.up, {std::cos(0.25f), -std::sin(0.25f), 0});
}

TEST(CameraRigTest, ZeroDirectionLeavesTheRigAsItIs) {
    CameraRig rig;
    rig.dir = {};
    rig.up = {0.3f, 0.4f, 0.5f};
    rig.roll(1.0f);
    rig.normalizeDir();
    expectNear(rig.up, {0.3f, 0.4f, 0.5f});
    expectNear(rig.dir, {0, 0, 0});
    EXPECT_FALSE(std::isnan(rig.dir.x));
}

TEST(CameraProgramTest, PartZeroDriftsWithoutJumpAndReturnsToTheOrigin) {
    CameraRig rig;
    steerPartZero(rig, 0.0f);
    expectNear(rig.pos, {0, 0, 0});
    expectNear(rig.up, {1, 0, 0});

    steerPartZero(rig, std::nextafter(timeline::kPhrase, 0.0f));
    const Vec3 before = rig.pos;
    steerPartZero(rig, timeline::kPhrase);
    expectNear(rig.pos, before);
    expectNear(rig.pos, {0, 0.027825f, 0});
    // A small roll: t * ((t - 20) / 15) / 10000 at the phrase end.
    const float roll = timeline::kPhrase * ((timeline::kPhrase - 20.0f) / 15.0f) / 10000.0f;
    expectNear(rig.up, {std::cos(roll), -std::sin(roll), 0});

    steerPartZero(rig, timeline::kLogoStart);
    expectNear(rig.pos, {0, 0, 0});
    expectNear(rig.up, {std::cos(0.005565f), -std::sin(0.005565f), 0});
}

TEST(CameraProgramTest, PartOneCutsOnWholeSeconds) {
    EXPECT_EQ(cameraShotIndex(70.0f), 0);
    EXPECT_EQ(cameraShotIndex(std::nextafter(71.0f, 0.0f)), 0);
    EXPECT_EQ(cameraShotIndex(71.0f), 1);
    EXPECT_EQ(cameraShotIndex(74.5f), 4);
    EXPECT_EQ(cameraShotIndex(NAN), 0);

    CameraRig rig;
    steerPartOne(rig, 71.0f);
    const CameraShot& shot = cameraShot(1);
    expectNear(rig.pos, {0.49f + std::sin(7.1f), -0.15f, 0.21f});
    // Directions are used unnormalised.
    expectNear(rig.dir, {-0.99f, 0.09f, -0.14f});
    expectNear(rig.up, shot.up);
    EXPECT_FLOAT_EQ(cameraShot(0).tubeScale, 3.0f);
    EXPECT_FLOAT_EQ(shot.tubeScale, 0.001f);
}

TEST(CameraProgramTest, PartTwoEyeStepsTwiceASecond) {
    CameraRig rig;
    for (const float start : {111.5f, 112.0f, 117.5f, 125.5f}) {
        steerPartTwoScene(rig, start);
        const float z = rig.pos.z;
        EXPECT_NEAR(z, -0.595f * (std::sin(std::trunc(2 * start)) + 1), 1e-5f);
        for (const float offset : {0.1f, 0.25f, 0.49f}) {
            steerPartTwoScene(rig, start + offset);
            EXPECT_FLOAT_EQ(rig.pos.z, z) << start + offset;
        }
    }
    steerPartTwoScene(rig, 112.0f);
    const float z0 = rig.pos.z;
    steerPartTwoScene(rig, 112.5f);
    EXPECT_NE(rig.pos.z, z0);

    steerPartTwoTracer(rig, 115.0f);
    EXPECT_NEAR(kelvo::length(rig.dir), 1.0f, 1e-6f);
    EXPECT_NEAR(rig.pos.z, std::sin(115.0f) * 0.37f + 0.07f, 1e-6f);
}

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
        EXPECT_NEAR(g_bloomPower, m.power, 1e-4f) << m.t;
        EXPECT_NEAR(plan.bloomRadius, m.radius, 1e-6f) << m.t;
        EXPECT_EQ(plan.bloomTag, 8);
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

    const float mid = timeline::kFlashStart + timeline::kFlashLength / 20.0f;
    const OverlayPlan rising = planPartZero(mid, spectrum.data());
    EXPECT_NEAR(rising.textAlpha, 0.5f, 1e-3f);  // sin(10a) at a = pi / 20
    EXPECT_NEAR(rising.transform(1, 1), mid - timeline::kFlashStart + 1.0f, 1e-5f);

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
    const OverlayPlan plan = planPartZero(60.0f, spectrum.data());
    EXPECT_EQ(plan.image, &logo);
    EXPECT_NEAR(plan.textThickness, 4 * 0.15f + 0.1f, 1e-6f);
    EXPECT_NEAR(plan.textWeight, 0.96f - 2 * 0.15f, 1e-6f);
    EXPECT_NEAR(plan.textAlpha, 0.95f, 1e-6f);
    EXPECT_NEAR(g_tubeScale, 4.35f * 0.01f + 0.3f, 1e-6f);
    EXPECT_EQ(plan.bloomRadius, 0.48f);
    EXPECT_EQ(g_bloomAlpha, 5.5f);
    EXPECT_EQ(g_bloomPower, 3.5f);
    EXPECT_NEAR(plan.transform(0, 0), 4.35f / 13.9125f * 0.5f + 0.7f, 1e-5f);
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
    EXPECT_NEAR(plan.bloomPower, std::sin(timeline::kPartOneStart) + 3.0f, 1e-5f);
    EXPECT_EQ(plan.bloomTag, 666);
    EXPECT_FALSE(plan.fade);

    // After the growth mark the radius grows with time; the parameters are not written back.
    const OverlayPlan late = planPartOne(100.0f, spectrum.data());
    EXPECT_NEAR(late.bloomRadius, 0.001f + (100.0f - 97.3875f), 1e-4f);
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
