#include "gfx/Plane.h"

namespace kelvo {

namespace {

Plane column(const Matrix& m, int c) {
    return {m.m[0][c], m.m[1][c], m.m[2][c], m.m[3][c]};
}

Plane add(const Plane& p, const Plane& q) {
    return {p.a + q.a, p.b + q.b, p.c + q.c, p.d + q.d};
}

Plane sub(const Plane& p, const Plane& q) {
    return {p.a - q.a, p.b - q.b, p.c - q.c, p.d - q.d};
}

}  // namespace

FrustumPlanes frustumPlanes(const Matrix& m) {
    const Plane x = column(m, 0);
    const Plane y = column(m, 1);
    const Plane z = column(m, 2);
    const Plane w = column(m, 3);
    return {z, sub(w, z), sub(w, y), add(w, y), add(w, x), sub(w, x)};
}

bool insideFrustum(const FrustumPlanes& planes, const Vec3& p) {
    for (const Plane& plane : planes) {
        if (plane.evaluate(p) < 0.0f) {
            return false;
        }
    }
    return true;
}

}  // namespace kelvo
