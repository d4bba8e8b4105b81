// A skinning bone: the values from which the skinning binding builds its palette matrix.
#pragma once

#include <cstdint>

#include "gfx/INode.h"
#include "gfx/Vec3.h"

namespace kelvo {

class Bone : public INode {
public:
    std::int32_t paletteIndex = 0;
    Vec3 restPosition{};
    Vec3 restDirection{};
    Vec3 currentDirection{};
    Vec3 currentPosition{};
};

}  // namespace kelvo
