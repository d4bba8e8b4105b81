// The show's model drawn through a scene with the show's surface effect: the import, the scene
// walk, the bindings and the effect together put the model into the colour, depth and normal
// pictures.
#include <gtest/gtest.h>

#include <memory>

#include "gfx/DataFileCache.h"
#include "gfx/DummyNode.h"
#include "gfx/ModelImporter.h"
#include "gfx/NodePointlight.h"
#include "gfx/PerspectiveCamera.h"
#include "gfx/Scene.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"
#include "tests/gl/EngineGLFixture.h"

namespace {

constexpr D3DCOLOR kAuxiliaryClear = 0xFF808080u;

class GLSceneTest : public EngineGLFixture {
protected:
    void TearDown() override {
        scene.reset();
        kelvo::removeAllChildren(&placement);
        importer.reset();
        EngineGLFixture::TearDown();
    }

    // The scene goes first (nodes outlive their parents), the importer's meshes before the
    // device.
    std::unique_ptr<kelvo::ModelImporter> importer = std::make_unique<kelvo::ModelImporter>();
    kelvo::NodePointlight light{0.0f, 0.3f, -0.4f, 0.0f, 0.0f, 1.0f, {1, 1, 1, 1}};
    kelvo::DummyNode placement;
    std::unique_ptr<kelvo::Scene> scene;
};

int countDiffering(const std::vector<D3DCOLOR>& picture, D3DCOLOR background) {
    int count = 0;
    for (D3DCOLOR c : picture) {
        count += (c & 0x00FFFFFFu) != (background & 0x00FFFFFFu) ? 1 : 0;
    }
    return count;
}

}  // namespace

TEST_F(GLSceneTest, TheModelAtShowScaleLandsInColourDepthAndNormalPictures) {
    os::AssertionCapture assertions;
    os::MessageBoxCapture messages;
    kelvo::INode* model = importer->load(kelvo::Matrix::identity());
    ASSERT_FALSE(model->children.empty());

    // The show draws the model at scale 0.005: a ramp 2.4 long through the origin.
    placement.localTransform = kelvo::Matrix::identity();
    for (int i = 0; i < 3; ++i) {
        placement.localTransform(i, i) = 0.005f;
    }
    kelvo::addChild(&placement, model);

    kelvo::PerspectiveCamera camera;
    camera.eye = {0.0f, 0.15f, -0.3f};
    camera.target = {0.0f, 0.0f, 0.0f};
    camera.nearPlane = 0.05f;
    camera.farPlane = 10.0f;
    kelvo::preloadDataFile("SolidObject.fxo");
    scene = std::make_unique<kelvo::Scene>();
    scene->graph->camera = &camera;
    kelvo::addChild(&scene->graph->root, &placement);
    kelvo::addChild(&scene->graph->root, &light);
    scene->renderToBuffer(1.0f);

    const auto colour = pictureOf(scene->getBuffer());
    const auto depth = pictureOf(scene->getDepthBuffer());
    const auto normal = pictureOf(scene->getNormalBuffer());
    save(colour, "scene_colour");
    save(depth, "scene_depth");
    save(normal, "scene_normal");

    // The depth output covers exactly the model's silhouette; the colour is black only where
    // the surface is unlit.
    const int covered = countDiffering(depth, kAuxiliaryClear);
    EXPECT_GT(covered, 64 * 64 / 32) << "the model covers a fair part of the picture";
    EXPECT_LT(covered, 64 * 64 / 2) << "and leaves background around it";
    EXPECT_EQ(countDiffering(normal, kAuxiliaryClear), covered);
    EXPECT_GT(countDiffering(colour, 0x00000000u), covered / 3);
    EXPECT_EQ(at(depth, 0, 0), kAuxiliaryClear);
    EXPECT_EQ(assertions.count(), 0u);
    EXPECT_EQ(messages.count(), 0u);
}
