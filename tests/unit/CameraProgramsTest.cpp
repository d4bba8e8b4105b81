// The camera programs at chosen moments, against values worked out by hand from the show's
// camera plan.
#include <gtest/gtest.h>

#include <cmath>

#include "demo/CameraPrograms.h"
#include "demo/CameraRig.h"
#include "demo/Timeline.h"
#include "tests/unit/Vec3Expectations.h"

TEST(CameraProgramsTest, PartZeroDriftsWithoutJumpAndReturnsToTheOrigin) {
    CameraRig rig;
    steerPartZero(rig, 0.0f);
    expectNear(rig.pos, {0, 0, 0});
    expectNear(rig.up, {1, 0, 0});

    steerPartZero(rig, std::nextafter(timeline::kPhrase, 0.0f));
    const kelvo::Vec3 before = rig.pos;
    steerPartZero(rig, timeline::kPhrase);
    expectNear(rig.pos, before);
    expectNear(rig.pos, {0, 0.027825f, 0});
    // A small roll at the phrase end: 0.0014515 rad.
    expectNear(rig.up, {0.999999f, -0.00145154f, 0});

    // From the logo on the roll is t / 10000: 0.005565 rad.
    steerPartZero(rig, timeline::kLogoStart);
    expectNear(rig.pos, {0, 0, 0});
    expectNear(rig.up, {0.999985f, -0.00556497f, 0});
}

TEST(CameraProgramsTest, PartOneCutsOnWholeSeconds) {
    EXPECT_EQ(cameraShotIndex(70.0f), 0);
    EXPECT_EQ(cameraShotIndex(std::nextafter(71.0f, 0.0f)), 0);
    EXPECT_EQ(cameraShotIndex(71.0f), 1);
    EXPECT_EQ(cameraShotIndex(74.5f), 4);
    EXPECT_EQ(cameraShotIndex(NAN), 0);

    CameraRig rig;
    steerPartOne(rig, 71.0f);
    const CameraShot& shot = cameraShot(1);
    // The shot's eye, swayed along x by sin(7.1).
    expectNear(rig.pos, {1.21897f, -0.15f, 0.21f});
    // Directions are used unnormalised.
    expectNear(rig.dir, {-0.99f, 0.09f, -0.14f});
    expectNear(rig.up, shot.up);
    EXPECT_FLOAT_EQ(cameraShot(0).tubeScale, 3.0f);
    EXPECT_FLOAT_EQ(shot.tubeScale, 0.001f);
}

TEST(CameraProgramsTest, PartTwoEyeStepsTwiceASecond) {
    CameraRig rig;
    const struct {
        float start;
        float z;
    } steps[] = {
        {111.5f, -0.626567f}, {112.0f, -0.112086f}, {117.5f, -0.940449f}, {125.5f, -0.403652f}};
    for (const auto& step : steps) {
        steerPartTwoScene(rig, step.start);
        const float z = rig.pos.z;
        EXPECT_NEAR(z, step.z, 1e-5f) << step.start;
        for (const float offset : {0.1f, 0.25f, 0.49f}) {
            steerPartTwoScene(rig, step.start + offset);
            EXPECT_FLOAT_EQ(rig.pos.z, z) << step.start + offset;
        }
    }
    steerPartTwoScene(rig, 112.0f);
    const float z0 = rig.pos.z;
    steerPartTwoScene(rig, 112.5f);
    EXPECT_NE(rig.pos.z, z0);

    steerPartTwoTracer(rig, 115.0f);
    EXPECT_NEAR(kelvo::length(rig.dir), 1.0f, 1e-6f);
    EXPECT_NEAR(rig.pos.z, 0.419811f, 1e-6f);
}
