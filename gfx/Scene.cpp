#include "gfx/Scene.h"

namespace kelvo {

Scene::Scene() : graph(std::make_unique<SceneGraph>(this)) {}

Scene::~Scene() = default;

void Scene::render(float time, bool clear) {
    graph->render(time, clear);
}

RenderTarget* Scene::getVelocityBuffer() {
    return graph->velocityBuffer;
}

RenderTarget* Scene::getDepthBuffer() {
    return graph->depthBuffer;
}

RenderTarget* Scene::getNormalBuffer() {
    return graph->normalBuffer;
}

}  // namespace kelvo
