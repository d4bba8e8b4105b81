#include "gfx/SceneGraph.h"

#include <cmath>

#include "gfx/GraphicsContext.h"
#include "gfx/HrCheck.h"
#include "gfx/InstanceCulling.h"
#include "gfx/MeshInstance.h"
#include "gfx/NodePointlight.h"
#include "gfx/RenderTarget.h"
#include "gfx/RenderUtils.h"
#include "gfx/Scene.h"
#include "gfx/ShaderContext.h"
#include "gfx/TCamera.h"
#include "platform/os/AssertionReport.h"

namespace kelvo {

namespace {

constexpr const char* kSource = "gfx/Scene";
// The lines the scene's failure reports name.
constexpr int kCameraLine = 256;
constexpr int kBeginSceneLine = 276;
constexpr int kEndSceneLine = 280;

// The tables follow the objects only when the time moved by more than this since their last
// update, so repeated renders of one moment keep their velocities.
constexpr float kMotionTolerance = 0.01f;
constexpr float kNeverUpdated = -1.0e30f;

}  // namespace

SceneGraph::SceneGraph(Scene* owner_) : owner(owner_), lastMotionTime(kNeverUpdated) {
    GraphicsContext& context = GraphicsContext::instance();
    depthBuffer = context.acquireRenderTarget();
    normalBuffer = context.acquireRenderTarget();
}

SceneGraph::~SceneGraph() {
    GraphicsContext& context = GraphicsContext::instance();
    if (velocityBuffer != nullptr) {
        context.releaseRenderTarget(velocityBuffer);
    }
    context.releaseRenderTarget(depthBuffer);
    context.releaseRenderTarget(normalBuffer);
    removeAllChildren(&root);
}

std::uint32_t SceneGraph::objectKey(const INode* node, std::uint32_t parentKey) {
    const auto a = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(node));
    const std::uint32_t s = parentKey;
    return (a * a + 10000u) ^ (a * s) ^ (s >> 16) ^ (s << 16);
}

void SceneGraph::render(float t, bool clear) {
    // Without a camera there is no view for the tables; they wait for a render that has one.
    if (camera != nullptr && std::fabs(lastMotionTime - t) > kMotionTolerance) {
        Matrix view;
        camera->getView(view);
        updateTables(&root, Matrix::identity(), 0, view);
        // The first update has no earlier one to measure the step from.
        frameDelta = lastMotionTime == kNeverUpdated ? 0.0f : std::fabs(lastMotionTime - t);
        lastMotionTime = t;
    }
    frameLights.clear();
    collectLights(&root, Matrix::identity());
    time = t;
    if (camera == nullptr) {
        os::assertionReport("sceneCamera", kSource, kCameraLine);
        return;
    }
    ShaderContext::instance().renderable = owner;
    clearAuxiliaryTargets();
    if (clear) {
        owner->getBuffer()->clearTarget();
    }
    IDirect3DDevice9* device = GraphicsContext::instance().device;
    HR_CHECK(kSource, kBeginSceneLine, device->BeginScene());
    meshPass(&root, Matrix::identity(), 0);
    HR_CHECK(kSource, kEndSceneLine, device->EndScene());
}

void SceneGraph::updateTables(const INode* node, const Matrix& parentWorld, std::uint32_t parentKey,
                              const Matrix& view) {
    const std::uint32_t key = objectKey(node, parentKey);
    const Matrix world = node->localTransform * parentWorld;
    const Matrix current = currentWorldView.entry(key);
    previousWorldView.entry(key) = current;
    currentWorldView.entry(key) = world * view;
    for (const INode* child : node->children) {
        updateTables(child, world, key, view);
    }
}

void SceneGraph::collectLights(INode* node, const Matrix& parentWorld) {
    const Matrix world = node->localTransform * parentWorld;
    if (auto* light = dynamic_cast<NodePointlight*>(node)) {
        frameLights.emplace_back(light, world);
    }
    for (INode* child : node->children) {
        collectLights(child, world);
    }
}

void SceneGraph::clearAuxiliaryTargets() {
    for (RenderTarget* target : {velocityBuffer, depthBuffer, normalBuffer}) {
        if (target == nullptr) {
            continue;
        }
        target->bind(0);
        clearColorAndDepth(255, 128, 128, 128);
        target->unbind();
    }
}

void SceneGraph::meshPass(INode* node, const Matrix& parentWorld, std::uint32_t parentKey) {
    const std::uint32_t key = objectKey(node, parentKey);
    const Matrix world = node->localTransform * parentWorld;
    for (INode* child : node->children) {
        meshPass(child, world, key);
    }
    currentKey = key;
    auto* instance = dynamic_cast<MeshInstance*>(node);
    if (instance == nullptr) {
        return;
    }
    instance->boundingBox();
    if (!instanceVisible(*instance, world, *camera)) {
        return;
    }
    instance->render(parentWorld);
}

}  // namespace kelvo
