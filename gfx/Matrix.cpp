#include "gfx/Matrix.h"

#include <cmath>

namespace kelvo {

Matrix::Matrix(float m00, float m01, float m02, float m03, float m10, float m11, float m12,
               float m13, float m20, float m21, float m22, float m23, float m30, float m31,
               float m32, float m33)
    : D3DXMATRIX{{{{m00, m01, m02, m03},
                   {m10, m11, m12, m13},
                   {m20, m21, m22, m23},
                   {m30, m31, m32, m33}}}} {}

Matrix Matrix::identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

bool Matrix::operator==(const Matrix& other) const {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (m[r][c] != other.m[r][c]) {
                return false;
            }
        }
    }
    return true;
}

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix result;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[i][k] * b.m[k][j];
            }
            result.m[i][j] = sum;
        }
    }
    return result;
}

Matrix subtract(const Matrix& a, const Matrix& b) {
    Matrix result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            result.m[r][c] = a.m[r][c] - b.m[r][c];
        }
    }
    return result;
}

Matrix inverse(const Matrix& m) {
    Matrix result = Matrix::identity();
    D3DXMatrixInverse(&result, nullptr, &m);
    return result;
}

Matrix lookAtLH(const Vec3& eye, const Vec3& target, const Vec3& up) {
    const Vec3 z = normalize(target - eye);
    const Vec3 x = normalize(cross(up, z));
    const Vec3 y = cross(z, x);
    return {x.x,          y.x,          z.x,          0.0f,  //
            x.y,          y.y,          z.y,          0.0f,  //
            x.z,          y.z,          z.z,          0.0f,  //
            -dot(x, eye), -dot(y, eye), -dot(z, eye), 1.0f};
}

Matrix perspectiveFovLH(float fovY, float aspect, float zn, float zf) {
    const float ys = 1.0f / std::tan(fovY / 2.0f);
    Matrix result;
    result.m[0][0] = ys / aspect;
    result.m[1][1] = ys;
    result.m[2][2] = zf / (zf - zn);
    result.m[2][3] = 1.0f;
    result.m[3][2] = -zn * zf / (zf - zn);
    result.m[3][3] = 1.0f;
    return result;
}

Matrix rotationZ(float a) {
    const float c = std::cos(a);
    const float s = std::sin(a);
    return {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix basisFromRows(const Vec3& a, const Vec3& b, const Vec3& c) {
    const Vec3 x = normalize(a);
    const Vec3 y = normalize(b);
    const Vec3 z = normalize(c);
    return {x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, 0, 0, 0, 1};
}

Vec3 transformPoint(const Vec3& p, const Matrix& m, float* w) {
    const auto column = [&](int c) {
        return p.x * m.m[0][c] + p.y * m.m[1][c] + p.z * m.m[2][c] + m.m[3][c];
    };
    if (w != nullptr) {
        *w = column(3);
    }
    return {column(0), column(1), column(2)};
}

}  // namespace kelvo
