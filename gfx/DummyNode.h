// The group node: a scene root, or a transform shared by its children.
#pragma once

#include "gfx/INode.h"

namespace kelvo {

class DummyNode : public INode {};

}  // namespace kelvo
