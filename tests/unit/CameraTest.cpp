#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "gfx/PerspectiveCamera.h"
#include "gfx/ViewportStack.h"

using kelvo::FrustumPlanes;
using kelvo::Matrix;
using kelvo::PerspectiveCamera;
using kelvo::Vec3;

namespace {

class CameraTest : public ::testing::Test {
protected:
    CameraTest() { kelvo::ViewportStack::makeCurrent(&stack); }

    kelvo::ViewportStack stack;
    PerspectiveCamera camera;
};

// The index of the first plane that rejects p, or -1 when p is inside all six.
int rejectingPlane(const FrustumPlanes& planes, const Vec3& p) {
    for (int i = 0; i < 6; ++i) {
        if (planes[i].evaluate(p) < 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

TEST_F(CameraTest, NewCameraLooksDownZWithAnIdentityView) {
    Matrix view;
    EXPECT_EQ(&camera.getView(view), &view);
    EXPECT_EQ(view, Matrix::identity());
    Vec3 eye{9, 9, 9};
    EXPECT_EQ(camera.getEyePosition(eye), (Vec3{0, 0, 0}));
}

TEST_F(CameraTest, RollTurnsThePictureAboutTheViewAxis) {
    camera.eye = {0, 0, -5};
    camera.target = {0, 0, 0};
    camera.rollAngle = std::numbers::pi_v<float> / 2;
    Matrix view;
    const Vec3 p = kelvo::transformPoint({1, 0, 0}, camera.getView(view));
    EXPECT_NEAR(p.x, 0, 1e-5f);
    EXPECT_NEAR(p.y, 1, 1e-5f);
    EXPECT_NEAR(p.z, 5, 1e-5f);
}

TEST_F(CameraTest, ProjectionTakesItsAspectFromTheLetterboxedViewport) {
    // 800 x 600 letterboxes to 800 x 449: neither the buffer's 4:3 nor the nominal 16:9.
    stack.setBackBuffer(800, 600, 16.0f / 9.0f);
    Matrix projection;
    camera.getProjection(projection);
    const float ys = 1.0f / std::tan(0.65f);
    EXPECT_FLOAT_EQ(projection(0, 0), ys / (800.0f / 449.0f));
    EXPECT_FLOAT_EQ(projection(1, 1), ys);
    EXPECT_EQ(projection(2, 3), 1.0f);
    EXPECT_EQ(projection(3, 3), 1.0f);

    Matrix view;
    Matrix viewProjection;
    camera.eye = {1, 2, 3};
    camera.getViewProjection(viewProjection);
    EXPECT_EQ(viewProjection, kelvo::multiply(camera.getView(view), projection));
}

TEST_F(CameraTest, PointAtTheNearDistanceAheadHasClipDepthZero) {
    camera.eye = {1, 2, 3};
    camera.target = {1, 2, 13};
    camera.nearPlane = 0.5f;
    Matrix viewProjection;
    camera.getViewProjection(viewProjection);
    float w = 0;
    const Vec3 clip = kelvo::transformPoint({1, 2, 3.5f}, viewProjection, &w);
    EXPECT_NEAR(clip.z, 0.0f, 1e-5f);
    EXPECT_NEAR(w, 1.5f, 1e-5f);
}

TEST_F(CameraTest, FrustumPlanesOfAKnownCamera) {
    // Square picture, 90 degrees: the side planes are |x| <= z + 1 and |y| <= z + 1 (w = z + 1).
    stack.setBackBuffer(512, 512, 1.0f);
    camera.fovY = std::numbers::pi_v<float> / 2;
    FrustumPlanes planes;
    camera.getFrustumPlanes(planes);

    const float k = 100.0f / 99.0f;
    EXPECT_NEAR(planes[kelvo::kNearPlane].c, k, 1e-5f);
    EXPECT_NEAR(planes[kelvo::kNearPlane].d, -k, 1e-5f);
    EXPECT_NEAR(planes[kelvo::kFarPlane].c, 1 - k, 1e-5f);
    EXPECT_NEAR(planes[kelvo::kFarPlane].d, 1 + k, 1e-5f);
    EXPECT_NEAR(planes[kelvo::kTopPlane].b, -1, 1e-6f);
    EXPECT_NEAR(planes[kelvo::kLeftPlane].a, 1, 1e-6f);

    EXPECT_EQ(rejectingPlane(planes, {0, 0, 50}), -1);
    EXPECT_EQ(rejectingPlane(planes, {0, 0, 0.5f}), kelvo::kNearPlane);
    EXPECT_EQ(rejectingPlane(planes, {0, 0, 250}), kelvo::kFarPlane);
    EXPECT_EQ(rejectingPlane(planes, {0, 60, 50}), kelvo::kTopPlane);
    EXPECT_EQ(rejectingPlane(planes, {0, -60, 50}), kelvo::kBottomPlane);
    EXPECT_EQ(rejectingPlane(planes, {-60, 0, 50}), kelvo::kLeftPlane);
    EXPECT_EQ(rejectingPlane(planes, {60, 0, 50}), kelvo::kRightPlane);
}

TEST_F(CameraTest, ObjectPlanesTestPointsInTheObjectsSpace) {
    stack.setBackBuffer(512, 512, 1.0f);
    camera.fovY = std::numbers::pi_v<float> / 2;
    const Matrix world{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1};
    FrustumPlanes planes;
    camera.getObjectFrustumPlanes(planes, world);
    EXPECT_EQ(rejectingPlane(planes, {0, 0, 0}), -1);
    EXPECT_EQ(rejectingPlane(planes, {0, 0, -9.5f}), kelvo::kNearPlane);
    EXPECT_EQ(rejectingPlane(planes, {15, 0, 0}), kelvo::kRightPlane);
}
