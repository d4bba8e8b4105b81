// A node holding one shared mesh geometry; instances hang it below themselves to draw it.
#pragma once

#include <memory>

#include "gfx/INode.h"
#include "gfx/MeshGeometry.h"

namespace kelvo {

class Mesh : public INode {
public:
    // None until the creator attaches one; destroyed with the node.
    std::unique_ptr<MeshGeometry> geometry;
};

}  // namespace kelvo
