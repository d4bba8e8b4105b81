// The engine's camera: a look-at view rolled about the viewing axis and a perspective
// projection whose aspect is that of the default (letterboxed) viewport of the current
// ViewportStack. Plain data; its owner changes the fields each frame.
#pragma once

#include "gfx/TCamera.h"

namespace kelvo {

class PerspectiveCamera : public TCamera {
public:
    Vec3 eye{0.0f, 0.0f, 0.0f};
    Vec3 target{0.0f, 0.0f, 1.0f};
    Vec3 upVector{0.0f, 1.0f, 0.0f};
    float fovY = 1.3f;  // radians
    float nearPlane = 1.0f;
    float farPlane = 100.0f;
    float rollAngle = 0.0f;  // radians, applied after the look-at

    // lookAtLH(eye, target, upVector) x rotationZ(rollAngle).
    Matrix& getView(Matrix& out) const override;
    Matrix& getProjection(Matrix& out) const override;
    Vec3& getEyePosition(Vec3& out) const override;
    Matrix& getViewProjection(Matrix& out) const override;
    void getFrustumPlanes(FrustumPlanes& out) const override;
    void getObjectFrustumPlanes(FrustumPlanes& out, const Matrix& world) const override;
    int kind() const override { return 0; }
};

}  // namespace kelvo
