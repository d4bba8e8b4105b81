// The frustum test of the mesh pass: an instance is skipped only when its mesh's bounding box
// lies entirely on the outer side of one of the camera's six planes.
//
// Only the plain shape is tested, an instance whose one child is a Mesh without children of
// its own: bones may move vertices outside the box, and further children are not in it.
#pragma once

#include "gfx/Matrix.h"

namespace kelvo {

class MeshInstance;
class TCamera;

// instanceWorld: the instance's world transform on the path being drawn.
bool instanceVisible(MeshInstance& instance, const Matrix& instanceWorld, const TCamera& camera);

}  // namespace kelvo
