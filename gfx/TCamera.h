// The camera interface: view, projection and clip planes of a frame. Every matrix result is
// written into the caller's matrix, which is also returned; nothing is cached.
#pragma once

#include "gfx/Matrix.h"
#include "gfx/Plane.h"
#include "gfx/Vec3.h"

namespace kelvo {

class TCamera {
public:
    virtual ~TCamera() = default;

    virtual Matrix& getView(Matrix& out) const = 0;
    virtual Matrix& getProjection(Matrix& out) const = 0;
    virtual Vec3& getEyePosition(Vec3& out) const = 0;
    // getView x getProjection.
    virtual Matrix& getViewProjection(Matrix& out) const = 0;
    // Planes of view x projection; points in world space.
    virtual void getFrustumPlanes(FrustumPlanes& out) const = 0;
    // Planes of world x view x projection; points in the object's space.
    virtual void getObjectFrustumPlanes(FrustumPlanes& out, const Matrix& world) const = 0;
    // Kept for cameras that report a kind; every camera here answers 0 and nothing asks.
    virtual int kind() const = 0;
};

}  // namespace kelvo
