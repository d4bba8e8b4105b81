// The production's frame machinery on the recording device: the tube pass, the stage's per-frame
// scene, the content's frames across part changes and the loading phase. The data files are the
// show's own, read from the build tree's data folder.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>

#include "EngineTestBase.h"
#include "demo/D3DWindow.h"
#include "demo/DemoContent.h"
#include "demo/Loading.h"
#include "demo/MusicClockGlobals.h"
#include "demo/ProductionImages.h"
#include "demo/ProductionParameters.h"
#include "demo/Stage.h"
#include "demo/TubePass.h"
#include "gfx/RenderTarget.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/ManualClock.h"

namespace {

class ProductionFrameTest : public EngineTestBase {
protected:
    void SetUp() override {
        EngineTestBase::SetUp();
        resetProductionParameters();
        spectrum.fill(0.0f);
        g_spectrum = spectrum.data();
        g_demoPart = 0;
        g_demoSeconds = 0.0f;
    }
    void TearDown() override {
        g_spectrum = nullptr;
        g_demoPart = 0;
        g_texStars = g_texNieluspace = nullptr;
        resetProductionParameters();
        EngineTestBase::TearDown();
    }

    // The texture the tube effect of a file was last given as "tex", for comparison only: the
    // reference GetTexture adds is given back at once (the effect keeps its own).
    static IDirect3DBaseTexture9* tubeImage(const char* effectFile) {
        ID3DXEffect* effect = kelvo::EffectHandler::instance().getEffect(effectFile);
        IDirect3DBaseTexture9* texture = nullptr;
        if (effect != nullptr && SUCCEEDED(effect->GetTexture("tex", &texture)) &&
            texture != nullptr) {
            texture->Release();
        }
        return texture;
    }

    // Runs one frame the way the frame loop does.
    static void frame(DemoContent& content, int part, float t) {
        g_demoPart = part;
        g_demoSeconds = t;
        content.update(t);
    }

    std::array<float, 64> spectrum{};
    os::AssertionCapture reports;
};

bool listed(const kelvo::INode& parent, const kelvo::INode* child) {
    return std::find(parent.children.begin(), parent.children.end(), child) !=
           parent.children.end();
}

}  // namespace

TEST_F(ProductionFrameTest, TubeTakesThePartsEffectImageAndParameters) {
    g_texNieluspace = loadProductionImage("data\\nieluspace.jpg");
    g_texStars = loadProductionImage("data\\stars.jpg");
    ASSERT_NE(g_texStars->getTexture(), nullptr);
    g_tubeScroll = 95.0f;
    g_tubeScale = 0.25f;

    const std::array<std::pair<const char*, kelvo::Texture*>, 3> expected{
        {{"tube.fxo", g_texNieluspace}, {"tube2x.fxo", g_texStars}, {"zoot.fxo", g_texStars}}};
    for (int part = 0; part < 3; ++part) {
        g_demoPart = part;
        device->clearCalls();
        tubePass(nullptr);
        EXPECT_EQ(device->countCalls("DrawPrimitiveUP"), 1u) << part;
        EXPECT_EQ(tubeImage(expected[part].first), expected[part].second->getTexture()) << part;
        float uvAdd[2] = {-1, -1};
        float uScale = 0;
        ID3DXEffect* effect = kelvo::EffectHandler::instance().getEffect(expected[part].first);
        ASSERT_NE(effect, nullptr);
        effect->GetFloatArray("uvAdd", uvAdd, 2);
        effect->GetFloat("uScale", &uScale);
        EXPECT_EQ(uvAdd[0], 0.0f);
        EXPECT_EQ(uvAdd[1], 95.0f);
        EXPECT_EQ(uScale, 0.25f);
    }
    EXPECT_EQ(reports.count(), 0u);
}

TEST_F(ProductionFrameTest, StageSceneLastsOneFrame) {
    Stage stage;
    kelvo::DummyNode model;
    stage.addInstance(&model);
    kelvo::INode& root = stage.scene->graph->root;
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0], stage.lights[0].get());
    EXPECT_EQ(root.children[1]->children, std::vector<kelvo::INode*>{&model});

    IDirect3DSurface9* preRenderTarget = nullptr;
    IDirect3DSurface9* overlayTarget = nullptr;
    kelvo::RenderTarget* sceneBuffer = stage.scene->getBuffer();
    stage.preRender = [&](kelvo::IRenderable*) { preRenderTarget = device->renderTargetAt(0); };
    stage.compose([&](kelvo::IRenderable*) { overlayTarget = device->renderTargetAt(0); }, 1.0f,
                  false);
    EXPECT_EQ(preRenderTarget, sceneBuffer->surface());
    EXPECT_EQ(overlayTarget, static_cast<IDirect3DSurface9*>(&device->backBuffer()));

    // The next frame starts empty but for light 0, and the model no longer hangs anywhere.
    kelvo::INode& next = stage.scene->graph->root;
    EXPECT_EQ(next.children, std::vector<kelvo::INode*>{stage.lights[0].get()});
    EXPECT_TRUE(model.parents.empty());
    EXPECT_TRUE(stage.frameNodes.empty());
    EXPECT_EQ(stage.scene->graph->camera, &stage.camera);
    EXPECT_EQ(reports.count(), 0u);
}

TEST_F(ProductionFrameTest, ContentFramesAcrossThePartChanges) {
    DemoContent content;
    EXPECT_EQ(reports.count(), 0u);
    ASSERT_NE(content.model, nullptr);
    std::vector<std::string> effects;
    for (const auto& entry : kelvo::EffectHandler::instance().entries()) {
        effects.push_back(entry.name);
    }
    for (const char* file : {"zoot.fxo", "tube.fxo", "SolidObject.fxo", "tube2x.fxo"}) {
        EXPECT_NE(std::find(effects.begin(), effects.end(), file), effects.end()) << file;
    }
    // Light 1 lights the first frame only.
    kelvo::INode& firstRoot = content.stage->scene->graph->root;
    EXPECT_TRUE(listed(firstRoot, content.stage->lights[1].get()));

    frame(content, 0, 10.0f);
    EXPECT_FALSE(listed(content.stage->scene->graph->root, content.stage->lights[1].get()));
    EXPECT_EQ(tubeImage("tube.fxo"), g_texNieluspace->getTexture());
    kelvo::Matrix view;
    EXPECT_EQ(g_inverseView, kelvo::inverse(content.stage->camera.getView(view)));
    EXPECT_NEAR(g_tubeScroll, 80.0f + 20.0f * 10.0f / 27.825f, 1e-3f);

    device->clearCalls();
    frame(content, 1, 70.0f);
    EXPECT_EQ(g_partStartTime, 70.0f);
    EXPECT_EQ(g_textWeight, 0.95f);
    EXPECT_EQ(g_tubeScale, 3.0f);  // shot 0
    EXPECT_EQ(tubeImage("tube2x.fxo"), g_texStars->getTexture());

    // Staying in the part does not seed again. Shot 1 has the model in view; it is drawn in
    // this frame's scene only.
    g_textWeight = 0.5f;
    device->clearCalls();
    frame(content, 1, 71.0f);
    EXPECT_GT(device->countCalls("DrawIndexedPrimitive"), 0u);
    EXPECT_TRUE(content.model->parents.empty());
    EXPECT_EQ(g_textWeight, 0.5f);
    EXPECT_EQ(g_partStartTime, 70.0f);
    EXPECT_EQ(g_tubeScale, 0.001f);  // shot 1

    device->clearCalls();
    frame(content, 2, 111.3f);
    EXPECT_EQ(g_partStartTime, 111.3f);
    EXPECT_EQ(g_bloomAlpha, 5.5f);
    EXPECT_EQ(g_tubeScale, 0.001f);  // kept from the last part-1 frame
    EXPECT_EQ(device->countCalls("DrawIndexedPrimitive"), 0u);
    // The scene camera took the second set-up: its eye steps back on the half second.
    EXPECT_NEAR(content.stage->camera.eye.z, -0.595f * (std::sin(222.0f) + 1.0f), 1e-5f);
    EXPECT_EQ(reports.count(), 0u);
}

TEST_F(ProductionFrameTest, LoadingThreadDrawsUntilDoneAndIsJoined) {
    D3DWindow window;
    kelvo::ViewportStack::makeCurrent(&viewports);
    g_window = &window;
    g_loadingDone = false;
    os::ManualClock clock(4000);

    std::size_t presentsAtDone = 0;
    runLoadingPhase(
        [&] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (device->countCalls("Present") < 3 &&
                   std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            presentsAtDone = device->countCalls("Present");
        },
        clock);
    const std::size_t presentsAtReturn = device->countCalls("Present");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));

    EXPECT_TRUE(g_loadingDone.load());
    ASSERT_NE(g_loadingImage, nullptr);
    EXPECT_NE(g_loadingImage->getTexture(), nullptr);
    EXPECT_GE(presentsAtDone, 3u);
    // At most the frame under way when loading ended, and nothing once runLoadingPhase returned.
    EXPECT_LE(presentsAtReturn, presentsAtDone + 1);
    EXPECT_EQ(device->countCalls("Present"), presentsAtReturn);
    // The image spins on the clock: the first frame at 4000 ms, each next one 50 ms later.
    bool firstFound = false;
    for (const auto& [state, matrix] : device->transformsSet()) {
        if (state == D3DTS_VIEW && kelvo::Matrix(matrix) == loadingImageTransform(4000)) {
            firstFound = true;
        }
    }
    EXPECT_TRUE(firstFound);
    // A fifth of the viewport, centred an eighth in from the left and bottom, turning
    // counter-clockwise half a radian a second: a quarter turn after pi seconds.
    const kelvo::Vec3 edge = kelvo::transformPoint({1, 0, 0}, loadingImageTransform(3142));
    EXPECT_NEAR(edge.x, -0.75f, 1e-3f);
    EXPECT_NEAR(edge.y, -0.55f, 1e-3f);
    EXPECT_EQ(reports.count(), 0u);

    // A second start after loading draws nothing.
    device->clearCalls();
    EXPECT_EQ(loadingThreadMain(device, clock), 0);
    EXPECT_EQ(device->countCalls("Present"), 0u);
    g_window = nullptr;
    g_loadingDone = false;
    g_loadingImage = nullptr;
}
