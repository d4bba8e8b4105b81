// 4x4 single-precision matrices in Direct3D's layout: row-major, for row vectors (p' = p x M),
// translation in row 3, and A x B applies A first. A Matrix is a D3DXMATRIX, so it goes to the
// device (SetTransform) and to effects (SetMatrix) as it is, never transposed.
#pragma once

#include "gfx/Vec3.h"
#include "platform/d3dx9/d3dx9.h"

namespace kelvo {

struct Matrix : D3DXMATRIX {
    // All sixteen elements zero.
    Matrix() : D3DXMATRIX{} {}
    Matrix(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13,
           float m20, float m21, float m22, float m23, float m30, float m31, float m32, float m33);
    explicit Matrix(const D3DMATRIX& d3d) : D3DXMATRIX{d3d} {}

    static Matrix identity();

    float& operator()(int row, int column) { return m[row][column]; }
    float operator()(int row, int column) const { return m[row][column]; }

    bool operator==(const Matrix& other) const;
};

// A x B: R[i][j] = sum over k of A[i][k] * B[k][j].
Matrix multiply(const Matrix& a, const Matrix& b);
inline Matrix operator*(const Matrix& a, const Matrix& b) {
    return multiply(a, b);
}

// A - B element by element (all sixteen elements).
Matrix subtract(const Matrix& a, const Matrix& b);

// The inverse by D3DXMatrixInverse. A singular matrix (determinant exactly 0) has none; the
// result is then the identity rather than an undefined matrix.
Matrix inverse(const Matrix& m);

// Left-handed view matrix: z = normalize(target - eye), x = normalize(up x z), y = z x x (not
// normalised again). When up is parallel to the viewing direction x is zero and the matrix is
// degenerate; that is not reported.
Matrix lookAtLH(const Vec3& eye, const Vec3& target, const Vec3& up);

// Left-handed perspective projection. Unlike D3DX's, m33 is 1, so clip-space w is z + 1.
Matrix perspectiveFovLH(float fovY, float aspect, float zn, float zf);

// Rotation by a radians about the z axis.
Matrix rotationZ(float a);

// Rows 0 to 2 are normalize(a), normalize(b), normalize(c) with 0 in column 3; row 3 is
// (0, 0, 0, 1).
Matrix basisFromRows(const Vec3& a, const Vec3& b, const Vec3& c);

// p x M for the point (x, y, z, 1); the fourth component is returned in w.
Vec3 transformPoint(const Vec3& p, const Matrix& m, float* w = nullptr);

}  // namespace kelvo
