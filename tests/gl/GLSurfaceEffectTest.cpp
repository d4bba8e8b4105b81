// The surface effect through the whole scene draw on the OpenGL device: a sphere lit by a point
// light from the right fills the colour, depth and normal outputs plausibly.
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/DataFileCache.h"
#include "gfx/Mesh.h"
#include "gfx/MeshInstance.h"
#include "gfx/NodePointlight.h"
#include "gfx/PerspectiveCamera.h"
#include "gfx/Scene.h"
#include "gfx/ShaderContext.h"
#include "platform/os/AssertionCapture.h"
#include "tests/gl/EngineGLFixture.h"

namespace {

constexpr int kRings = 16;
constexpr int kSegments = 24;
constexpr float kPi = 3.14159265f;

// A unit sphere whose triangles are clockwise seen from outside (Direct3D's front faces).
void buildSphere(std::vector<kelvo::Vertex>& vertices, std::vector<std::uint32_t>& indices) {
    for (int ring = 0; ring <= kRings; ++ring) {
        const float theta = kPi * static_cast<float>(ring) / kRings;
        for (int segment = 0; segment <= kSegments; ++segment) {
            const float phi = 2.0f * kPi * static_cast<float>(segment) / kSegments;
            kelvo::VertexAttributes a;
            a.position = {std::sin(theta) * std::cos(phi), std::cos(theta),
                          std::sin(theta) * std::sin(phi)};
            a.normal = a.position;
            a.texCoord0 = {static_cast<float>(segment) / kSegments,
                           static_cast<float>(ring) / kRings};
            vertices.emplace_back(a);
        }
    }
    const auto index = [](int ring, int segment) {
        return static_cast<std::uint32_t>(ring * (kSegments + 1) + segment);
    };
    for (int ring = 0; ring < kRings; ++ring) {
        for (int segment = 0; segment < kSegments; ++segment) {
            indices.insert(indices.end(), {index(ring, segment), index(ring, segment + 1),
                                           index(ring + 1, segment)});
            indices.insert(indices.end(), {index(ring, segment + 1), index(ring + 1, segment + 1),
                                           index(ring + 1, segment)});
        }
    }
}

class GLSurfaceEffectTest : public EngineGLFixture {
protected:
    void SetUp() override {
        EngineGLFixture::SetUp();
        kelvo::preloadDataFile("SolidObject.fxo");
        std::vector<kelvo::Vertex> vertices;
        std::vector<std::uint32_t> indices;
        buildSphere(vertices, indices);
        mesh.geometry = std::make_unique<kelvo::MeshGeometry>(device_, 0, 0);
        mesh.geometry->upload(vertices, &indices);
        mesh.geometry->setHasFileNormals(true);
        kelvo::addChild(&instance, &mesh);

        camera.eye = {0.0f, 0.0f, -3.0f};
        camera.target = {0.0f, 0.0f, 0.0f};
        camera.fovY = 1.0f;
        scene = std::make_unique<kelvo::Scene>();
        scene->graph->camera = &camera;
        scene->directionalLightEnabled = false;
        kelvo::addChild(&scene->graph->root, &instance);
        kelvo::addChild(&scene->graph->root, &light);
    }

    void TearDown() override {
        scene.reset();
        mesh.geometry.reset();  // its buffers go before the device
        kelvo::removeAllChildren(&instance);
        kelvo::ShaderContext::instance().renderable = nullptr;
        EngineGLFixture::TearDown();
    }

    kelvo::Mesh mesh;
    kelvo::MeshInstance instance;
    kelvo::NodePointlight light{4.0f, 0.0f, -2.0f, 0.0f, 0.0f, 1.0f, {1.0f, 1.0f, 1.0f, 1.0f}};
    kelvo::PerspectiveCamera camera;
    std::unique_ptr<kelvo::Scene> scene;
};

TEST_F(GLSurfaceEffectTest, ALitSphereFillsColourDepthAndNormal) {
    os::AssertionCapture reports;
    scene->renderToBuffer(1.0f);
    EXPECT_TRUE(reports.records().empty());

    const auto colour = pictureOf(scene->getBuffer());
    const auto depth = pictureOf(scene->getDepthBuffer());
    const auto normal = pictureOf(scene->getNormalBuffer());
    save(colour, "surface_colour");
    save(depth, "surface_depth");
    save(normal, "surface_normal");

    const UINT c = kWidth / 2;
    // The side facing the light (right on screen) is brighter than the side away from it, which
    // keeps the ambient term only; the background stays cleared.
    EXPECT_GT(luminance(at(colour, c + 12, c)), luminance(at(colour, c - 12, c)) + 150);
    EXPECT_GT(luminance(at(colour, c - 12, c)), 0);
    EXPECT_EQ(luminance(at(colour, 1, 1)), 0);

    // Depth: near surfaces are written (view distance / far plane), the background keeps its
    // mid-grey clear value.
    EXPECT_LT(red(at(depth, c, c)), 20);
    EXPECT_NEAR(red(at(depth, 1, 1)), 128, 1);

    // Normals in view space: facing right on the right, left on the left, toward the camera
    // (negative z) in the middle.
    EXPECT_GT(red(at(normal, c + 14, c)), 170);
    EXPECT_LT(red(at(normal, c - 14, c)), 86);
    EXPECT_LT(blue(at(normal, c, c)), 20);
    EXPECT_NEAR(red(at(normal, 1, 1)), 128, 1);
}

TEST_F(GLSurfaceEffectTest, CookTorranceShadesTheSameSideAndAMirrorStillShowsTheSphere) {
    instance.material.cookTorrance = true;
    instance.localTransform(0, 0) = -1.0f;  // mirrored: the cull mode must flip
    scene->renderToBuffer(1.0f);
    const auto colour = pictureOf(scene->getBuffer());
    save(colour, "surface_cook_torrance_mirrored");
    const UINT c = kWidth / 2;
    EXPECT_GT(luminance(at(colour, c + 12, c)), luminance(at(colour, c - 12, c)) + 100);
}

}  // namespace
