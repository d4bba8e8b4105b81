#include "gfx/InstanceCulling.h"

#include "gfx/Mesh.h"
#include "gfx/MeshInstance.h"
#include "gfx/Plane.h"
#include "gfx/TCamera.h"

namespace kelvo {

namespace {

const Mesh* plainMesh(const MeshInstance& instance) {
    if (instance.children.size() != 1) {
        return nullptr;
    }
    const auto* mesh = dynamic_cast<const Mesh*>(instance.children.front());
    if (mesh == nullptr || mesh->geometry == nullptr || !mesh->children.empty()) {
        return nullptr;
    }
    return mesh;
}

// The corner of the box farthest along the plane's normal; when even that one is outside, the
// whole box is.
bool boxOutside(const Plane& plane, const float* box) {
    const Vec3 farthest{plane.a >= 0.0f ? box[3] : box[0], plane.b >= 0.0f ? box[4] : box[1],
                        plane.c >= 0.0f ? box[5] : box[2]};
    return plane.evaluate(farthest) < 0.0f;
}

}  // namespace

bool instanceVisible(MeshInstance& instance, const Matrix& instanceWorld, const TCamera& camera) {
    const Mesh* mesh = plainMesh(instance);
    if (mesh == nullptr) {
        return true;
    }
    const float* box = instance.boundingBox();
    if (box[0] > box[3] || box[1] > box[4] || box[2] > box[5]) {
        return true;
    }
    FrustumPlanes planes;
    camera.getObjectFrustumPlanes(planes, mesh->localTransform * instanceWorld);
    for (const Plane& plane : planes) {
        if (boxOutside(plane, box)) {
            return false;
        }
    }
    return true;
}

}  // namespace kelvo
