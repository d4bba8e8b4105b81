// The state of one scene: the root every drawn node hangs below, the camera, the point lights of
// the current render with their world transforms, the auxiliary render targets and the two
// world-view tables from which the standard binding derives each object's velocity.
//
// A render walks the graph three times: the tables (only when the time moved by more than
// 0.01 s since their last update), the lights, and the meshes (children before their node).
// Instances whose mesh lies entirely outside the camera's frustum are not drawn.
// Objects are keyed per path: a node reached through two parents has two keys.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "gfx/DummyNode.h"
#include "gfx/Matrix.h"
#include "gfx/WorldViewTable.h"

namespace kelvo {

class NodePointlight;
class RenderTarget;
class Scene;
class TCamera;

class SceneGraph {
public:
    // Borrows the depth and then the normal buffer from the render-target pool.
    explicit SceneGraph(Scene* owner);
    // Returns the buffers to the pool, detaches the root's children (they are not destroyed).
    ~SceneGraph();
    SceneGraph(const SceneGraph&) = delete;
    SceneGraph& operator=(const SceneGraph&) = delete;

    // Updates the tables when due, lists the lights, clears the auxiliary targets (and the
    // owner's buffer when clear is set) and draws every mesh instance between BeginScene and
    // EndScene. The owner's buffer is expected to be bound by the caller.
    void render(float time, bool clear);

    // The key of a node reached from a parent whose key is parentKey (0 at the root).
    static std::uint32_t objectKey(const INode* node, std::uint32_t parentKey);

    DummyNode root;
    std::vector<std::pair<NodePointlight*, Matrix>> frameLights;
    TCamera* camera = nullptr;
    Scene* owner;
    RenderTarget* depthBuffer = nullptr;
    RenderTarget* normalBuffer = nullptr;
    // Far from any show time, so that the first render always fills the tables.
    float lastMotionTime = -1.0e30f;
    RenderTarget* velocityBuffer = nullptr;
    WorldViewTable previousWorldView;
    WorldViewTable currentWorldView;
    float time = 0.0f;
    std::uint32_t currentKey = 0;
    float frameDelta = 0.0f;

private:
    void updateTables(const INode* node, const Matrix& parentWorld, std::uint32_t parentKey,
                      const Matrix& view);
    void collectLights(INode* node, const Matrix& parentWorld);
    void clearAuxiliaryTargets();
    void meshPass(INode* node, const Matrix& parentWorld, std::uint32_t parentKey);
};

}  // namespace kelvo
