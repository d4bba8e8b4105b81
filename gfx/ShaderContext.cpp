#include "gfx/ShaderContext.h"

#include "gfx/Scene.h"

namespace kelvo {

ShaderContext& ShaderContext::instance() {
    static ShaderContext context;
    return context;
}

Scene* ShaderContext::scene() const {
    return dynamic_cast<Scene*>(renderable);
}

}  // namespace kelvo
