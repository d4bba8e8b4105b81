// The state of the mesh-instance draw in progress: the material's shader, the renderable being
// drawn (a Scene in practice, whose camera, time, lights and world-view tables the standard
// binding reads) and the stack of parent transforms of the node walk.
#pragma once

#include <deque>
#include <memory>

#include "gfx/Matrix.h"
#include "gfx/TShader.h"

namespace kelvo {

class IRenderable;
class Scene;

class ShaderContext {
public:
    // The process-wide context, created on first use with no shader, no renderable and an
    // empty stack.
    static ShaderContext& instance();

    ShaderContext() = default;
    ShaderContext(const ShaderContext&) = delete;
    ShaderContext& operator=(const ShaderContext&) = delete;

    // The renderable as a Scene; null when there is none or it is another kind of renderable.
    Scene* scene() const;

    // Owned from bindMaterial to finishMaterial.
    std::unique_ptr<TShader> shader;
    IRenderable* renderable = nullptr;
    // The top is the parent transform of the node being drawn; empty: no parent transform.
    std::deque<Matrix> matrixStack;
};

}  // namespace kelvo
