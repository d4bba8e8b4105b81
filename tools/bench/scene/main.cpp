// CPU cost of the scene code on the recording device (no GPU work): (1) importing the show's
// model, (2) one frame of the show's scene use: a fresh Scene with camera, the model below a
// placement group and two point lights, rendered into its buffer and destroyed. The reference
// is the same frame with an empty scene, measured in the same run, so the difference is what
// the walks, the material and standard bindings and the draws of the model cost.
//
// Run from the build directory (it reads data/). The recording device keeps a text log of
// every call; the log is emptied every frame and its formatting is part of both figures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/DataFileCache.h"
#include "gfx/DummyNode.h"
#include "gfx/EffectHandler.h"
#include "gfx/GraphicsContext.h"
#include "gfx/MeshInstance.h"
#include "gfx/ModelImporter.h"
#include "gfx/NodePointlight.h"
#include "gfx/PerspectiveCamera.h"
#include "gfx/Scene.h"
#include "gfx/ViewportStack.h"
#include "platform/d3d9/recording/RecordingDevice.h"

namespace {

using Clock = std::chrono::steady_clock;

// Median milliseconds per call of `work` over `runs` calls, after a few warm-up calls.
double medianMs(const std::function<void()>& work, int runs) {
    for (int i = 0; i < 5; ++i) {
        work();
    }
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<std::size_t>(runs / 2)];
}

struct Frame {
    kelvo::PerspectiveCamera camera;
    kelvo::DummyNode placement;
    kelvo::NodePointlight lightA{0.3f, 0.2f, -0.3f, 0.0f, 1.0f, 1.0f, {1, 0.8f, 0.6f, 1}};
    kelvo::NodePointlight lightB{-0.3f, 0.2f, 0.3f, 0.0f, 1.0f, 1.0f, {0.6f, 0.8f, 1, 1}};
    float time = 70.0f;

    // One frame: the stage builds a scene, hangs its nodes, renders it and destroys it.
    void run(RecordingDevice& device, kelvo::INode* model) {
        time += 1.0f / 60.0f;
        auto scene = std::make_unique<kelvo::Scene>();
        scene->graph->camera = &camera;
        if (model != nullptr) {
            kelvo::addChild(&scene->graph->root, &placement);
            kelvo::addChild(&scene->graph->root, &lightA);
            kelvo::addChild(&scene->graph->root, &lightB);
        }
        scene->renderToBuffer(time);
        scene.reset();
        device.clearCalls();
    }
};

}  // namespace

int main() {
    auto* device = new RecordingDevice();
    device->setRecordQueries(false);
    kelvo::GraphicsContext::instance().device = device;
    kelvo::ViewportStack viewports;
    viewports.setDeviceProvider([device]() -> IDirect3DDevice9* { return device; });
    // A tiny picture: the recording device really fills cleared pixels, which is device work,
    // not the scene's.
    viewports.setBackBuffer(16, 9, 16.0f / 9.0f);
    kelvo::ViewportStack::makeCurrent(&viewports);
    kelvo::preloadDataFile("SolidObject.fxo");

    std::vector<std::unique_ptr<kelvo::ModelImporter>> importers;
    const double importMs = medianMs(
        [&] {
            importers.push_back(std::make_unique<kelvo::ModelImporter>());
            importers.back()->load(kelvo::Matrix::identity());
            device->clearCalls();
        },
        50);
    kelvo::INode* model = importers.back()->root;

    Frame frame;
    frame.camera.eye = {0.0f, -0.13f, -0.39f};
    frame.camera.target = {0.0f, -0.13f, 0.61f};
    frame.camera.nearPlane = 0.05f;
    frame.placement.localTransform = kelvo::Matrix::identity();
    for (int i = 0; i < 3; ++i) {
        frame.placement.localTransform(i, i) = 0.005f;
    }
    kelvo::addChild(&frame.placement, model);

    const double emptyMs = medianMs([&] { frame.run(*device, nullptr); }, 2000);
    const double modelMs = medianMs([&] { frame.run(*device, model); }, 2000);
    std::size_t callsPerFrame = 0;
    {
        frame.run(*device, model);
        auto scene = std::make_unique<kelvo::Scene>();
        scene->graph->camera = &frame.camera;
        kelvo::addChild(&scene->graph->root, &frame.placement);
        scene->renderToBuffer(frame.time + 1.0f);
        callsPerFrame = device->calls().size();
        scene.reset();
        device->clearCalls();
    }
    // The walks alone: the same graph with every instance hidden (tables, lights, keys, the
    // frustum test, no material binding and no draw).
    for (kelvo::INode* node : model->children) {
        if (auto* instance = dynamic_cast<kelvo::MeshInstance*>(node)) {
            instance->visible = false;
        }
    }
    const double walksMs = medianMs([&] { frame.run(*device, model); }, 2000);

    std::printf("model import (%zu meshes):          %8.3f ms\n", importers.back()->meshes.size(),
                importMs);
    std::printf("scene frame, empty scene (reference): %8.4f ms\n", emptyMs);
    std::printf("scene frame, model + 2 lights:        %8.4f ms\n", modelMs);
    std::printf("model's share of the frame:           %8.4f ms (goal < 0.2 ms)\n",
                modelMs - emptyMs);
    std::printf("  of which the walks (instances hidden): %8.4f ms\n", walksMs - emptyMs);
    std::printf("  device and effect calls logged per frame: %zu\n", callsPerFrame);

    kelvo::removeAllChildren(&frame.placement);
    importers.clear();
    kelvo::EffectHandler::destroyInstance();
    kelvo::GraphicsContext::instance().release();
    kelvo::ViewportStack::makeCurrent(nullptr);
    return 0;
}
