#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "MeshFixtures.h"
#include "SceneBindingFixture.h"
#include "gfx/GraphicsContext.h"
#include "gfx/Mesh.h"
#include "gfx/MeshInstance.h"
#include "gfx/NodePointlight.h"
#include "gfx/RenderTarget.h"
#include "platform/os/AssertionCapture.h"

using kelvo::addChild;
using kelvo::DummyNode;
using kelvo::INode;
using kelvo::Matrix;
using kelvo::MeshInstance;
using kelvo::SceneGraph;

namespace {

class SceneGraphTest : public SceneBindingFixture {
protected:
    void TearDown() override {
        scene.reset();  // detaches the root's children before the nodes go
        for (auto& node : nodes) {
            kelvo::removeAllChildren(node.get());
        }
        nodes.clear();
        SceneBindingFixture::TearDown();
    }

    template <typename Node, typename... Args>
    Node& make(Args&&... args) {
        nodes.push_back(std::make_unique<Node>(std::forward<Args>(args)...));
        return static_cast<Node&>(*nodes.back());
    }

    // A unit quad in the z = 0 plane.
    kelvo::Mesh& quadMesh() {
        auto& mesh = make<kelvo::Mesh>();
        mesh.geometry = std::make_unique<kelvo::MeshGeometry>(device, 2, 4);
        std::vector<kelvo::Vertex> vertices = meshtest::quadVertices();
        std::vector<std::uint32_t> indices;
        for (const auto& t : meshtest::kQuadTriangles) {
            indices.insert(indices.end(),
                           {static_cast<std::uint32_t>(t[0]), static_cast<std::uint32_t>(t[1]),
                            static_cast<std::uint32_t>(t[2])});
        }
        mesh.geometry->upload(vertices, &indices);
        return mesh;
    }

    MeshInstance& quadInstance(INode& parent, float diffuse) {
        auto& instance = make<MeshInstance>();
        instance.material.diffuse = {diffuse, diffuse, diffuse, 1.0f};
        addChild(&instance, &quadMesh());
        addChild(&parent, &instance);
        return instance;
    }

    SceneGraph& graph() { return *scene->graph; }

    std::size_t auxiliaryClears() const {
        return device->callsStartingWith("Clear(0, null, 0x3, 0xff808080, 1, 0)").size();
    }

    // Draw calls and the diffuse colours set before them (first four characters of red).
    std::vector<std::string> drawsAndDiffuse() const {
        static constexpr const char* kDiffuse = "Effect.SetVector(\"material.diffuse\", {";
        std::vector<std::string> out;
        for (const std::string& call : device->calls()) {
            if (call.rfind("DrawIndexedPrimitive", 0) == 0) {
                out.push_back("draw");
            } else if (call.rfind(kDiffuse, 0) == 0) {
                out.push_back(call.substr(std::strlen(kDiffuse), 4));
            }
        }
        return out;
    }

    std::vector<std::unique_ptr<INode>> nodes;
};

}  // namespace

TEST_F(SceneGraphTest, TablesFollowTheObjectsOnlyWhenTimeMovesMoreThanTheTolerance) {
    auto& group = make<DummyNode>();
    group.localTransform = translation(0, 0, 4);
    addChild(&graph().root, &group);
    const std::uint32_t key =
        SceneGraph::objectKey(&group, SceneGraph::objectKey(&graph().root, 0));

    scene->render(10.0f, false);
    ASSERT_TRUE(graph().currentWorldView.contains(key)) << "a new graph updates at once";
    Matrix view;
    EXPECT_EQ(graph().currentWorldView.entry(key), group.localTransform * camera.getView(view));
    EXPECT_EQ(graph().previousWorldView.entry(key), Matrix::identity());
    EXPECT_EQ(graph().frameDelta, 0.0f) << "no earlier update to measure from";
    const Matrix first = graph().currentWorldView.entry(key);

    camera.eye = {1.0f, 2.0f, -10.0f};
    scene->render(10.004f, false);
    EXPECT_EQ(graph().currentWorldView.entry(key), first);
    EXPECT_EQ(graph().time, 10.004f);

    scene->render(10.05f, false);
    EXPECT_EQ(graph().previousWorldView.entry(key), first);
    EXPECT_NE(graph().currentWorldView.entry(key), first);
    EXPECT_NEAR(graph().frameDelta, 0.05f, 1e-5f);
    EXPECT_EQ(graph().lastMotionTime, 10.05f);
}

TEST_F(SceneGraphTest, ANodeReachedTwiceHasTwoKeysAndItsLightIsListedPerPath) {
    auto& left = make<DummyNode>();
    auto& right = make<DummyNode>();
    left.localTransform = translation(-5, 0, 0);
    right.localTransform = translation(5, 0, 0);
    auto& light = make<kelvo::NodePointlight>(0, 1, 0, 0.0f, 0.0f, 1.0f, D3DXVECTOR4{1, 1, 1, 1});
    addChild(&graph().root, &left);
    addChild(&graph().root, &right);
    addChild(&left, &light);
    addChild(&right, &light);

    scene->render(1.0f, false);
    ASSERT_EQ(graph().frameLights.size(), 2u);
    EXPECT_EQ(graph().frameLights[0].first, &light);
    EXPECT_EQ(graph().frameLights[0].second, translation(-5, 1, 0));
    EXPECT_EQ(graph().frameLights[1].second, translation(5, 1, 0));
    const std::uint32_t rootKey = SceneGraph::objectKey(&graph().root, 0);
    EXPECT_NE(SceneGraph::objectKey(&light, SceneGraph::objectKey(&left, rootKey)),
              SceneGraph::objectKey(&light, SceneGraph::objectKey(&right, rootKey)));

    scene->render(2.0f, false);
    EXPECT_EQ(graph().frameLights.size(), 2u) << "rebuilt, not appended";
}

TEST_F(SceneGraphTest, EveryRenderClearsTheAuxiliaryTargetsInsideItsOwnBinds) {
    device->clearCalls();
    scene->render(1.0f, false);
    EXPECT_EQ(auxiliaryClears(), 2u) << "depth and normal, even with nothing to draw";
    scene->render(1.0f, false);
    EXPECT_EQ(auxiliaryClears(), 4u);
    EXPECT_EQ(device->countCalls("BeginScene"), 2u);
    EXPECT_EQ(device->countCalls("EndScene"), 2u);
    EXPECT_FALSE(graph().depthBuffer->isBound());
    EXPECT_FALSE(graph().normalBuffer->isBound());
}

TEST_F(SceneGraphTest, SceneBracketFailuresAndAMissingCameraAreReported) {
    os::AssertionCapture reports;
    device->failCall("BeginScene", D3DERR_INVALIDCALL);
    device->failCall("EndScene", D3DERR_INVALIDCALL);
    scene->render(1.0f, false);
    ASSERT_EQ(reports.count(), 2u);
    EXPECT_EQ(reports.records()[0].line, 276);
    EXPECT_EQ(reports.records()[1].line, 280);
    EXPECT_EQ(reports.records()[1].file, "gfx/Scene");

    reports.clear();
    device->clearFailures();
    device->clearCalls();
    graph().camera = nullptr;
    quadInstance(graph().root, 0.5f);
    scene->render(2.0f, false);
    ASSERT_EQ(reports.count(), 1u);
    EXPECT_EQ(reports.records()[0].expression, "sceneCamera");
    EXPECT_EQ(reports.records()[0].line, 256);
    EXPECT_EQ(device->countCalls("BeginScene"), 0u) << "nothing is drawn without a camera";
}

TEST_F(SceneGraphTest, InstancesDrawWithTheirOwnMaterialsChildrenFirst) {
    MeshInstance& outer = quadInstance(graph().root, 0.25f);
    quadInstance(outer, 0.75f);
    MeshInstance& hidden = quadInstance(graph().root, 0.5f);
    hidden.visible = false;
    device->clearCalls();
    scene->render(1.0f, false);
    EXPECT_EQ(drawsAndDiffuse(), (std::vector<std::string>{"0.75", "draw", "0.25", "draw"}));
}

TEST_F(SceneGraphTest, InstancesEntirelyOutsideTheFrustumAreNotDrawn) {
    // The camera at (0, 2, -10) looks at the origin.
    MeshInstance& inView = quadInstance(graph().root, 0.25f);
    MeshInstance& behind = quadInstance(graph().root, 0.5f);
    behind.localTransform = translation(0, 0, -30);
    // Wider than the view on both sides: every corner is outside some plane, but no plane has
    // them all outside.
    MeshInstance& straddling = quadInstance(graph().root, 0.75f);
    straddling.localTransform = translation(-50, 0, 0);
    straddling.localTransform(0, 0) = 100.0f;
    MeshInstance& farLeft = quadInstance(graph().root, 0.125f);
    farLeft.localTransform = translation(-40, 0, 0);
    (void)inView;
    device->clearCalls();
    scene->render(1.0f, false);
    EXPECT_EQ(drawsAndDiffuse(), (std::vector<std::string>{"0.25", "draw", "0.75", "draw"}));
}

TEST_F(SceneGraphTest, DestroyingTheSceneDetachesItsNodesAndReturnsItsTargets) {
    auto& group = make<DummyNode>();
    addChild(&graph().root, &group);
    kelvo::GraphicsContext& context = kelvo::GraphicsContext::instance();
    const std::size_t freeBefore = context.freeRenderTargets.size();
    scene.reset();
    EXPECT_TRUE(group.parents.empty());
    EXPECT_EQ(context.freeRenderTargets.size(), freeBefore + 2);
}
