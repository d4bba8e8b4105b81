// Clip planes (a, b, c, d): a point p is on the inner side when a*p.x + b*p.y + c*p.z + d >= 0.
#pragma once

#include <array>

#include "gfx/Matrix.h"
#include "gfx/Vec3.h"

namespace kelvo {

struct Plane {
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 0.0f;

    // Signed, unnormalised distance: a*p.x + b*p.y + c*p.z + d.
    float evaluate(const Vec3& p) const { return a * p.x + b * p.y + c * p.z + d; }
};

enum FrustumPlaneIndex { kNearPlane, kFarPlane, kTopPlane, kBottomPlane, kLeftPlane, kRightPlane };

using FrustumPlanes = std::array<Plane, 6>;

// The six planes of the clip volume of m (z from 0 to w), in the order of FrustumPlaneIndex,
// not normalised: near col2, far col3 - col2, top col3 - col1, bottom col3 + col1, left
// col3 + col0, right col3 - col0, with colJ = (m0J, m1J, m2J, m3J).
FrustumPlanes frustumPlanes(const Matrix& m);

// True when p is on the inner side of all six planes.
bool insideFrustum(const FrustumPlanes& planes, const Vec3& p);

}  // namespace kelvo
