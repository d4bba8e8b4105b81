#include "demo/Stage.h"

#include "gfx/MotionblurEffect.h"
#include "gfx/RenderTarget.h"
#include "gfx/RenderUtils.h"

namespace {

std::unique_ptr<kelvo::NodePointlight> newLight() {
    return std::make_unique<kelvo::NodePointlight>(0.0f, 0.0f, 0.0f, 1.0f, 10.0f, 10.0f,
                                                   D3DXVECTOR4{1.0f, 1.0f, 1.0f, 1.0f});
}

}  // namespace

Stage::Stage() : scene(std::make_unique<kelvo::Scene>()) {
    for (auto& light : lights) {
        light = newLight();
    }
    kelvo::addChild(&scene->graph->root, lights[0].get());
    reset();
}

// The scene goes first, so the lights and group nodes lose their link to its root before the
// group nodes themselves go.
Stage::~Stage() {
    scene.reset();
    frameNodes.clear();
}

void Stage::addInstance(kelvo::INode* node) {
    auto group = std::make_unique<kelvo::DummyNode>();
    group->localTransform = transformStack.back();
    kelvo::addChild(group.get(), node);
    kelvo::addChild(&scene->graph->root, group.get());
    frameNodes.push_back(std::move(group));
}

void Stage::compose(const Pass& overlay, float time, bool clear) {
    kelvo::Scene& current = *scene;
    if (preRender) {
        kelvo::RenderTarget* buffer = current.getBuffer();
        buffer->clearTarget();
        buffer->bind(0);
        preRender(&current);
        buffer->unbind();
    }
    current.renderToBuffer(time, clear);
    // Never rendered: building it is what brings its effect file into the cache and the effect
    // registry on the first frame rather than in the middle of the show.
    kelvo::MotionblurEffect blur(current.getBuffer(), current.getVelocityBuffer(),
                                 current.getDepthBuffer(), 1.0f);
    kelvo::drawFullscreenQuad(current.getBuffer(), 1.0f, 0.0f, D3DBLEND_INVSRCALPHA, true);
    if (overlay) {
        overlay(&current);
    }
    reset();
}

void Stage::reset() {
    scene.reset();
    // Destroying a group node detaches it from the added node, which lives on.
    frameNodes.clear();
    scene = std::make_unique<kelvo::Scene>();
    scene->graph->camera = &camera;
    kelvo::addChild(&scene->graph->root, lights[0].get());
    transformStack.assign(1, kelvo::Matrix::identity());
}
