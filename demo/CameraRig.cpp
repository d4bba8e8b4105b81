#include "demo/CameraRig.h"

#include <cmath>

void CameraRig::reset() {
    up = {0.0f, 1.0f, 0.0f};
    dir = {0.0f, 0.0f, 1.0f};
    pos = {0.0f, 0.0f, 0.0f};
}

void CameraRig::strafe(float d) {
    pos = pos - kelvo::cross(up, dir) * d;
}

// Rodrigues' rotation written as a matrix and applied to up as a row vector, so a positive
// angle about (0, 0, 1) turns (1, 0, 0) towards -y.
void CameraRig::roll(float a) {
    if (kelvo::dot(dir, dir) == 0.0f) {
        return;
    }
    const float c = std::cos(a);
    const float s = std::sin(a);
    const float k = 1.0f - c;
    const float x = dir.x;
    const float y = dir.y;
    const float z = dir.z;
    const float r[3][3] = {{c + x * x * k, x * y * k - z * s, x * z * k + y * s},
                           {x * y * k + z * s, c + y * y * k, y * z * k - x * s},
                           {x * z * k - y * s, y * z * k + x * s, c + z * z * k}};
    const float in[3] = {up.x, up.y, up.z};
    float out[3] = {0.0f, 0.0f, 0.0f};
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            out[j] += in[i] * r[i][j];
        }
    }
    up = {out[0], out[1], out[2]};
}

void CameraRig::normalizeDir() {
    const float len = kelvo::length(dir);
    if (len != 0.0f) {
        dir = {dir.x / len, dir.y / len, dir.z / len};
    }
}

void CameraRig::applyTo(kelvo::PerspectiveCamera& camera) const {
    camera.eye = pos;
    camera.target = pos + dir;
    camera.upVector = up;
}
