#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "demo/CameraRig.h"
#include "tests/unit/Vec3Expectations.h"

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
    // A quarter of a radian clockwise as seen along dir.
    rig.roll(0.25f);
    expectNear(rig.up, {0.968912f, -0.247404f, 0});
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
