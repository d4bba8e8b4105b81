#include "demo/DemoContent.h"

#include <cstdlib>

#include "demo/CameraPrograms.h"
#include "demo/Fadetin.h"
#include "demo/MusicClockGlobals.h"
#include "demo/Overlays.h"
#include "demo/ProductionImages.h"
#include "demo/ProductionParameters.h"
#include "demo/TracerPP.h"
#include "demo/TubePass.h"
#include "gfx/DataFileCache.h"
#include "gfx/GraphicsContext.h"

DemoContent* g_content = nullptr;

namespace {

constexpr float kModelScale = 0.005f;
// The two lights that flicker; only the first is in the scene after the first frame.
constexpr int kFlickeringLights = 2;
// The most pooled targets a frame holds at once: the scene's picture, depth and normal buffers,
// then the bloom's buffer with either its intermediate target or the text overlay's buffer, and
// from the fade's first frame on the fade's buffer as well.
constexpr unsigned kSteadyRenderTargets = 6;

// Uniform in [-1, 0.999] in steps of 0.001.
float randomUnit() {
    return static_cast<float>(std::rand() % 2000) / 1000.0f - 1.0f;
}

void setPosition(kelvo::INode& node, float x, float y, float z) {
    node.localTransform(3, 0) = x;
    node.localTransform(3, 1) = y;
    node.localTransform(3, 2) = z;
}

kelvo::Matrix modelTransform() {
    kelvo::Matrix m = kelvo::Matrix::identity();
    m(0, 0) = m(1, 1) = m(2, 2) = kModelScale;
    return m;
}

std::unique_ptr<TracerPP> preloadTracer(const char* technique, const char* effectFile) {
    kelvo::preloadDataFile(effectFile);
    return std::make_unique<TracerPP>(nullptr, technique, effectFile);
}

}  // namespace

DemoContent::DemoContent() {
    stage = std::make_unique<Stage>();
    g_texStars = loadProductionImage("data\\stars.jpg");
    g_texNieluspace = loadProductionImage("data\\nieluspace.jpg");

    importer = std::make_unique<kelvo::ModelImporter>();
    importer->flipNormals = true;

    // Built only so that the tube effects exist before the show; the technique names are never
    // begun (tube2x's is one the file does not declare).
    std::unique_ptr<TracerPP> preloads[] = {
        preloadTracer("Tube", "zoot.fxo"),
        preloadTracer("Tube", "tube.fxo"),
        preloadTracer("Tube", "SolidObject.fxo"),
        preloadTracer("NotATechnique", "tube2x.fxo"),
    };
    // The fade first draws late in the show; its effect and the pool's last target are made here
    // so that no frame of the show creates a device resource.
    const Fadetin fadePreload(nullptr, 0.0f);
    kelvo::GraphicsContext::instance().reserveRenderTargets(kSteadyRenderTargets);

    model = importer->load(kelvo::Matrix::identity());

    kelvo::INode& root = stage->scene->graph->root;
    for (int i = 0; i < kFlickeringLights; ++i) {
        kelvo::NodePointlight& light = *stage->lights[static_cast<std::size_t>(i)];
        if (root.children.empty() || (root.children.front() != &light &&
                                      !kelvo::reachesByFirstChild(root.children.front(), &light))) {
            kelvo::addChild(&root, &light);
        }
        const float r1 = randomUnit();
        const float r2 = randomUnit();
        const float r3 = randomUnit();
        setPosition(light, 5.0f * r3, 5.0f * r2, 5.0f * r1);
        light.color = {1.0f, 1.0f, 1.0f, 1.0f};
        light.attConst = 8.01f;
        light.attLin = 0.1f;
        light.attQuad = 0.001f;
    }

    g_texLogo = loadProductionImage("data//vor2010.png");
    static const char* const kTextFiles[kTextImageCount] = {"data//text2.jpg", "data//text3.jpg",
                                                            "data//text4.jpg", "data//text5.jpg"};
    for (int i = 0; i < kTextImageCount; ++i) {
        g_texText[i] = loadProductionImage(kTextFiles[i]);
    }
    g_texCredits = loadProductionImage("data//credz.jpg");

    stage->camera.fovY = 0.4f;
    stage->camera.nearPlane = 0.02f;
    stage->camera.farPlane = 50.0f;
}

DemoContent::~DemoContent() {
    forgetProductionImages();
}

void DemoContent::update(float t) {
    const int part = g_demoPart;
    if (part != lastPart) {
        enterPart(part, t);
        lastPart = part;
    }
    steerCamera(part, t);
    stage->preRender = tubePass;
    stage->compose(drawOverlays, t, false);
    flickerLights();
}

void DemoContent::steerCamera(int part, float t) {
    kelvo::PerspectiveCamera& camera = stage->camera;
    switch (part) {
        case 0:
            steerPartZero(rig, t);
            rig.applyTo(camera);
            publishInverseView();
            break;
        case 1:
            steerPartOne(rig, t);
            g_tubeScale = cameraShot(cameraShotIndex(t)).tubeScale;
            if (model != nullptr) {
                model->localTransform = modelTransform();
                stage->addInstance(model);
            }
            rig.applyTo(camera);
            publishInverseView();
            break;
        default:
            // The tube tracer looks through the first set-up, the scene through the second.
            steerPartTwoTracer(rig, t);
            rig.applyTo(camera);
            publishInverseView();
            steerPartTwoScene(rig, t);
            rig.applyTo(camera);
            break;
    }
}

void DemoContent::publishInverseView() {
    kelvo::Matrix view;
    g_inverseView = kelvo::inverse(stage->camera.getView(view));
}

// Moved after the frame was composed, so the new positions light the next frame.
void DemoContent::flickerLights() {
    for (int i = 0; i < kFlickeringLights; ++i) {
        const float r1 = randomUnit();
        const float r2 = randomUnit();
        const float r3 = randomUnit();
        setPosition(*stage->lights[static_cast<std::size_t>(i)], 5.0f * r1, 5.0f * r2, 5.0f * r3);
    }
}
