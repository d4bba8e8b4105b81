// The production's immediate-mode scene builder. Each frame the timeline adds what is to be
// drawn; compose paints the pre-render pass and the scene into the scene's buffer, copies it to
// the back buffer, runs the overlay pass and then replaces the scene with an empty one. The
// camera and the lights outlive the frames; only light 0 is attached to every new scene.
//
// The stage owns the group nodes it creates per frame, never the nodes added to them: a model
// added every frame is shared by reference, so a frame uploads no geometry.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/DummyNode.h"
#include "gfx/IRenderable.h"
#include "gfx/Matrix.h"
#include "gfx/NodePointlight.h"
#include "gfx/PerspectiveCamera.h"
#include "gfx/Scene.h"

class Stage {
public:
    // A pass given the frame's scene; it draws into whatever target is bound.
    using Pass = std::function<void(kelvo::IRenderable*)>;
    static constexpr int kLightCount = 4;

    Stage();
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    // Hangs node below a new group node (carrying the top of transformStack) below this
    // frame's root.
    void addInstance(kelvo::INode* node);
    // Draws one frame into the bound target (the back buffer) and resets the stage.
    void compose(const Pass& overlay, float time, bool clear);
    // An empty scene with the camera and light 0; the frame's group nodes are destroyed.
    void reset();

    std::vector<std::unique_ptr<kelvo::DummyNode>> frameNodes;
    std::vector<kelvo::Matrix> transformStack;
    std::unique_ptr<kelvo::Scene> scene;
    kelvo::PerspectiveCamera camera;
    std::array<std::unique_ptr<kelvo::NodePointlight>, kLightCount> lights;
    Pass preRender;
};
