// The node that draws: a material and a transform, by convention with the Mesh it shows as its
// first child. Further children are drawn with the same material, except nested instances,
// which draw themselves with their own.
#pragma once

#include "gfx/INodeRenderable.h"
#include "gfx/SurfaceMaterial.h"

namespace kelvo {

class MeshInstance : public INodeRenderable {
public:
    // When visible: bindMaterial, renderNode with parentWorld, finishMaterial.
    void render(const Matrix& parentWorld) override;
    // The box of the first child's geometry when that child is a Mesh with one; otherwise an
    // empty box (minimum 10000, maximum -10000 on each axis).
    const float* boundingBox() override;

    SurfaceMaterial material;
    bool visible = true;
};

}  // namespace kelvo
