#include "gfx/MeshInstance.h"

#include "gfx/MaterialBinding.h"
#include "gfx/Mesh.h"
#include "gfx/ShaderContext.h"
#include "gfx/StandardParameters.h"

namespace kelvo {

namespace {

// What an instance without a mesh reports: the box of a mesh without vertices.
constexpr float kEmptyBox[6] = {10000.0f, 10000.0f, 10000.0f, -10000.0f, -10000.0f, -10000.0f};

}  // namespace

void MeshInstance::render(const Matrix& parentWorld) {
    if (!visible) {
        return;
    }
    ShaderContext& context = ShaderContext::instance();
    bindMaterial(*this, context);
    renderNode(*this, parentWorld, *this);
    finishMaterial(context);
}

const float* MeshInstance::boundingBox() {
    if (children.empty()) {
        return kEmptyBox;
    }
    auto* mesh = dynamic_cast<Mesh*>(children.front());
    if (mesh == nullptr || mesh->geometry == nullptr) {
        return kEmptyBox;
    }
    return mesh->geometry->boundingBox();
}

}  // namespace kelvo
