#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "SceneBindingFixture.h"
#include "gfx/Bone.h"
#include "gfx/Mesh.h"
#include "gfx/StandardParameters.h"
#include "platform/os/AssertionCapture.h"

using kelvo::Matrix;
using kelvo::Vec3;

namespace {

Matrix scaling(float x, float y, float z) {
    Matrix m = Matrix::identity();
    m(0, 0) = x;
    m(1, 1) = y;
    m(2, 2) = z;
    return m;
}

class StandardMatricesTest : public SceneBindingFixture {
protected:
    void SetUp() override {
        SceneBindingFixture::SetUp();
        beginShader("SolidObjectBlinnPhong");
    }

    kelvo::Mesh node;
};

TEST_F(StandardMatricesTest, BindsTheObjectParametersInOrderWithoutReports) {
    node.localTransform = translation(1.0f, 2.0f, 3.0f);
    context().matrixStack.push_back(scaling(2.0f, 2.0f, 2.0f));
    os::AssertionCapture reports;
    kelvo::bindStandardMatrices(context(), node);

    EXPECT_EQ(setterCalls(),
              (std::vector<std::string>{
                  "SetMatrix worldViewProjection", "SetMatrix worldViewProjInv", "SetMatrix world",
                  "SetMatrix viewProjection", "SetMatrix worldView", "SetMatrix worldViewInv",
                  "SetMatrix worldInv", "SetMatrix view", "SetMatrix viewInv",
                  "SetFloatArray eyePos", "SetMatrix velocityTransform"}));
    EXPECT_TRUE(reports.records().empty());

    // The parent transform on the stack applies after the node's own.
    const Matrix world = translation(1.0f, 2.0f, 3.0f) * scaling(2.0f, 2.0f, 2.0f);
    Matrix view;
    Matrix viewProjection;
    camera.getView(view);
    camera.getViewProjection(viewProjection);
    expectNear(matrixParameter("world"), world);
    EXPECT_FLOAT_EQ(matrixParameter("world")(3, 0), 2.0f);
    expectNear(matrixParameter("worldViewProjection"), world * viewProjection);
    expectNear(matrixParameter("worldView") * matrixParameter("worldViewInv"), Matrix::identity());
    expectNear(matrixParameter("worldInv"), kelvo::inverse(world));
    EXPECT_EQ(floats("eyePos", 3), (std::vector<float>{0.0f, 2.0f, -10.0f}));
    EXPECT_EQ(device->renderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CCW));
}

TEST_F(StandardMatricesTest, AMirroredWorldCullsTheOtherWinding) {
    node.localTransform = scaling(-1.0f, 1.0f, 1.0f);
    kelvo::bindStandardMatrices(context(), node);
    EXPECT_EQ(device->renderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CW));

    node.localTransform = scaling(-1.0f, -1.0f, 1.0f);  // two mirrors make a rotation
    kelvo::bindStandardMatrices(context(), node);
    EXPECT_EQ(device->renderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CCW));
}

TEST_F(StandardMatricesTest, VelocityIsTheDifferenceOfTheTwoTables) {
    kelvo::SceneGraph& graph = *scene->graph;
    graph.currentKey = 77;
    graph.previousWorldView.entry(77) = translation(1.0f, 0.0f, 0.0f);
    graph.currentWorldView.entry(77) = translation(1.5f, -2.0f, 0.0f);
    kelvo::bindStandardMatrices(context(), node);
    Matrix expected;
    expected(3, 0) = 0.5f;
    expected(3, 1) = -2.0f;
    EXPECT_EQ(matrixParameter("velocityTransform"), expected);
}

TEST_F(StandardMatricesTest, AnObjectMissingFromBothTablesDoesNotMove) {
    kelvo::SceneGraph& graph = *scene->graph;
    // A non-zero value first, so that the zero below is really written.
    graph.currentKey = 1;
    graph.currentWorldView.entry(1) = translation(3.0f, 0.0f, 0.0f);
    kelvo::bindStandardMatrices(context(), node);
    graph.currentKey = 4242;
    kelvo::bindStandardMatrices(context(), node);
    EXPECT_EQ(matrixParameter("velocityTransform"), Matrix());
    EXPECT_TRUE(graph.currentWorldView.contains(4242));
    EXPECT_TRUE(graph.previousWorldView.contains(4242));
}

TEST_F(StandardMatricesTest, WithoutACameraNothingIsBound) {
    scene->graph->camera = nullptr;
    kelvo::bindStandardMatrices(context(), node);
    EXPECT_TRUE(setterCalls().empty());
}

class SkinningTest : public SceneBindingFixture {
protected:
    void SetUp() override {
        SceneBindingFixture::SetUp();
        bone.paletteIndex = 12;
        bone.restDirection = {0.0f, 1.0f, 0.0f};
        bone.currentDirection = {0.0f, 1.0f, 0.0f};
        kelvo::addChild(&skinned, &bone);
    }

    std::vector<std::string> restartCalls() const {
        std::vector<std::string> out;
        for (const std::string& call : device->callsStartingWith("Effect.")) {
            if (call.rfind("Effect.Set", 0) != 0 || call.rfind("Effect.SetTechnique", 0) == 0) {
                out.push_back(call);
            }
        }
        return out;
    }

    // Declared first so that it outlives the mesh that lists it as a child.
    kelvo::Bone bone;
    kelvo::Mesh skinned;
    kelvo::Mesh rigid;
};

TEST_F(SkinningTest, ASkinnedMeshSwitchesToTheSkinnedTechniqueAndRestartsAtPassZero) {
    beginShader("SolidObjectCookTorrance");
    os::AssertionCapture reports;
    kelvo::bindSkinning(context(), skinned);
    EXPECT_EQ(context().shader->techniqueName(), "SolidObjectCookTorranceSkinned");
    EXPECT_EQ(setterCalls(), (std::vector<std::string>{"SetMatrix matrixPalette[12]"}));
    EXPECT_EQ(restartCalls(),
              (std::vector<std::string>{
                  "Effect.SetTechnique(\"SolidObjectCookTorranceSkinned\") -> OK",
                  "Effect.CommitChanges() -> OK", "Effect.EndPass() -> OK", "Effect.End() -> OK",
                  "Effect.SetTechnique(\"SolidObjectCookTorranceSkinned\") -> OK",
                  "Effect.Begin(0) -> OK", "Effect.BeginPass(0) -> OK"}));
    EXPECT_TRUE(reports.records().empty());

    // The next skinned mesh keeps the technique and the running pass.
    device->clearCalls();
    kelvo::bindSkinning(context(), skinned);
    EXPECT_EQ(restartCalls(), (std::vector<std::string>{"Effect.CommitChanges() -> OK"}));
}

TEST_F(SkinningTest, ARigidMeshAfterASkinnedOneSwitchesBack) {
    beginShader("SolidObjectBlinnPhongParallaxSkinned");
    kelvo::bindSkinning(context(), rigid);
    EXPECT_EQ(context().shader->techniqueName(), "SolidObjectBlinnPhongParallax");
    EXPECT_EQ(restartCalls(), (std::vector<std::string>{
                                  "Effect.SetTechnique(\"SolidObjectBlinnPhongParallax\") -> OK",
                                  "Effect.EndPass() -> OK", "Effect.End() -> OK",
                                  "Effect.SetTechnique(\"SolidObjectBlinnPhongParallax\") -> OK",
                                  "Effect.Begin(0) -> OK", "Effect.BeginPass(0) -> OK"}));

    device->clearCalls();
    kelvo::bindSkinning(context(), rigid);
    EXPECT_TRUE(restartCalls().empty());
}

Vec3 moved(const Vec3& v, const Matrix& m) {
    return kelvo::transformPoint(v, m);
}

void expectNear(const Vec3& actual, const Vec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

TEST(BoneMatrixTest, RotatesAboutTheRestPositionAndFollowsTheBone) {
    kelvo::Bone bone;
    bone.restPosition = {1.0f, 2.0f, 3.0f};
    bone.restDirection = {0.0f, 1.0f, 0.0f};
    bone.currentDirection = {1.0f, 0.0f, 0.0f};
    bone.currentPosition = {4.0f, 5.0f, 6.0f};
    const Matrix m = kelvo::boneMatrix(bone);
    expectNear(moved({1.0f, 2.0f, 3.0f}, m), {4.0f, 5.0f, 6.0f});
    // A point along the rest direction ends up along the current direction.
    expectNear(moved({1.0f, 4.0f, 3.0f}, m), {6.0f, 5.0f, 6.0f});
}

TEST(BoneMatrixTest, ADegenerateFrameStaysFiniteAndKeepsTheJointInPlace) {
    kelvo::Bone bone;
    bone.restPosition = {1.0f, 2.0f, 3.0f};
    bone.restDirection = {1.0f, 1.0f, 1.0f};  // no perpendicular: the frame has zero rows
    bone.currentDirection = {2.0f, 2.0f, 2.0f};
    bone.currentPosition = {0.0f, 0.0f, 1.0f};
    const Matrix m = kelvo::boneMatrix(bone);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_TRUE(std::isfinite(m(r, c))) << r << c;
        }
    }
    expectNear(moved(bone.restPosition, m), bone.currentPosition);
}

}  // namespace
