#include "gfx/PerspectiveCamera.h"

#include "gfx/ViewportStack.h"

namespace kelvo {

Matrix& PerspectiveCamera::getView(Matrix& out) const {
    out = lookAtLH(eye, target, upVector) * rotationZ(rollAngle);
    return out;
}

Matrix& PerspectiveCamera::getProjection(Matrix& out) const {
    const D3DVIEWPORT9 viewport = ViewportStack::current().defaultViewport();
    const float aspect = static_cast<float>(viewport.Width) / static_cast<float>(viewport.Height);
    out = perspectiveFovLH(fovY, aspect, nearPlane, farPlane);
    return out;
}

Vec3& PerspectiveCamera::getEyePosition(Vec3& out) const {
    out = eye;
    return out;
}

Matrix& PerspectiveCamera::getViewProjection(Matrix& out) const {
    Matrix view;
    Matrix projection;
    out = getView(view) * getProjection(projection);
    return out;
}

void PerspectiveCamera::getFrustumPlanes(FrustumPlanes& out) const {
    Matrix viewProjection;
    out = frustumPlanes(getViewProjection(viewProjection));
}

void PerspectiveCamera::getObjectFrustumPlanes(FrustumPlanes& out, const Matrix& world) const {
    Matrix viewProjection;
    out = frustumPlanes(world * getViewProjection(viewProjection));
}

}  // namespace kelvo
