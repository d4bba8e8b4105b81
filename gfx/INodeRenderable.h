// A node that draws itself (and its subtree) with state of its own, such as a material.
#pragma once

#include "gfx/INode.h"

namespace kelvo {

class INodeRenderable : public INode {
public:
    bool isRenderable() const override { return true; }

    // Draws this node's subtree, given the world transform of the parent it is reached through.
    virtual void render(const Matrix& parentWorld) = 0;
    // Minimum x, y, z then maximum x, y, z in the node's model space. A box whose minimum
    // exceeds its maximum is empty.
    virtual const float* boundingBox() = 0;
};

}  // namespace kelvo
