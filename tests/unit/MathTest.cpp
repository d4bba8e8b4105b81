#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "gfx/Matrix.h"
#include "gfx/Vec3.h"

using kelvo::Matrix;
using kelvo::Vec3;

namespace {

void expectNear(const Matrix& actual, const Matrix& expected, float tolerance = 1e-5f) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(actual(r, c), expected(r, c), tolerance) << "element " << r << c;
        }
    }
}

void expectNear(const Vec3& actual, const Vec3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

Matrix translation(float x, float y, float z) {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
}

Matrix scaling(float s) {
    return {s, 0, 0, 0, 0, s, 0, 0, 0, 0, s, 0, 0, 0, 0, 1};
}

// A matrix with no special structure (perspective column, shear), determinant -19.
Matrix general() {
    return {2, 1, 0, 0, 0, 1, 3, 0, 1, 0, 1, 1, 4, -2, 0, 1};
}

}  // namespace

TEST(VectorMath, NormalizeScalesToUnitLengthAndKeepsZero) {
    expectNear(kelvo::normalize({3, 0, 4}), {0.6f, 0, 0.8f});
    EXPECT_EQ(kelvo::normalize({0, 0, 0}), (Vec3{0, 0, 0}));
}

TEST(MatrixMath, MultiplyAppliesTheLeftMatrixFirst) {
    const Matrix moveThenScale = kelvo::multiply(translation(1, 2, 3), scaling(2));
    expectNear(kelvo::transformPoint({1, 1, 1}, moveThenScale), {4, 6, 8});
    const Matrix scaleThenMove = kelvo::multiply(scaling(2), translation(1, 2, 3));
    expectNear(kelvo::transformPoint({1, 1, 1}, scaleThenMove), {3, 4, 5});
}

TEST(MatrixMath, SubtractCoversAllSixteenElements) {
    Matrix a;
    Matrix b;
    for (int i = 0; i < 16; ++i) {
        a(i / 4, i % 4) = static_cast<float>(i * 3);
        b(i / 4, i % 4) = static_cast<float>(i);
    }
    const Matrix difference = kelvo::subtract(a, b);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(difference(i / 4, i % 4), static_cast<float>(i * 2)) << "element " << i;
    }
}

TEST(MatrixMath, LookAtBuildsTheViewBasisAndTranslation) {
    // Looking along +x from (2, 3, 4) with y up: x axis (0, 0, -1), y (0, 1, 0), z (1, 0, 0).
    const Matrix view = kelvo::lookAtLH({2, 3, 4}, {3, 3, 4}, {0, 1, 0});
    expectNear(view, {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 4, -3, -2, 1});
    expectNear(kelvo::transformPoint({3, 3, 4}, view), {0, 0, 1});
}

TEST(MatrixMath, LookAtWithUpAlongTheViewIsDegenerateButFinite) {
    const Matrix view = kelvo::lookAtLH({0, 0, 0}, {0, 5, 0}, {0, 1, 0});
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(view(r, 0), 0.0f) << "row " << r;
        for (int c = 0; c < 4; ++c) {
            EXPECT_TRUE(std::isfinite(view(r, c)));
        }
    }
}

TEST(MatrixMath, PerspectiveHasUnitW33AndMapsNearToDepthZero) {
    // fovY 90 degrees: ys = 1; aspect 2, near 1, far 3.
    const Matrix p = kelvo::perspectiveFovLH(std::numbers::pi_v<float> / 2, 2.0f, 1.0f, 3.0f);
    expectNear(p, {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1.5f, 1, 0, 0, -1.5f, 1});
    EXPECT_EQ(p(3, 3), 1.0f);

    float w = 0;
    const Vec3 nearPoint = kelvo::transformPoint({0, 0, 1}, p, &w);
    EXPECT_NEAR(nearPoint.z, 0.0f, 1e-6f);
    EXPECT_EQ(w, 2.0f);  // clip-space w is z + 1
}

TEST(MatrixMath, RotationZTurnsXTowardsY) {
    const Matrix r = kelvo::rotationZ(std::numbers::pi_v<float> / 2);
    expectNear(kelvo::transformPoint({1, 0, 0}, r), {0, 1, 0});
    expectNear(kelvo::transformPoint({0, 1, 0}, r), {-1, 0, 0});
}

TEST(MatrixMath, BasisFromRowsNormalisesEachRow) {
    const Matrix basis = kelvo::basisFromRows({2, 0, 0}, {0, 0, 3}, {0, -4, 0});
    expectNear(basis, {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1});
}

TEST(MatrixInverse, RoundTripsToTheIdentityAndReportsTheDeterminant) {
    const D3DXMATRIX m = general();
    D3DXMATRIX inv;
    float det = 0;
    ASSERT_EQ(D3DXMatrixInverse(&inv, &det, &m), &inv);
    EXPECT_FLOAT_EQ(det, -19.0f);
    expectNear(kelvo::multiply(general(), Matrix(inv)), Matrix::identity());
    expectNear(kelvo::multiply(Matrix(inv), general()), Matrix::identity());

    const Matrix affine = kelvo::multiply(kelvo::rotationZ(0.7f), translation(5, -1, 2));
    expectNear(kelvo::multiply(affine, kelvo::inverse(affine)), Matrix::identity());
}

TEST(MatrixInverse, WorksInPlace) {
    D3DXMATRIX m = general();
    ASSERT_EQ(D3DXMatrixInverse(&m, nullptr, &m), &m);
    expectNear(kelvo::multiply(general(), Matrix(m)), Matrix::identity());
}

TEST(MatrixInverse, SingularMatrixLeavesTheOutputUntouched) {
    D3DXMATRIX singular = general();
    singular.m[2][0] = singular.m[2][1] = singular.m[2][2] = singular.m[2][3] = 0;
    D3DXMATRIX out;
    for (auto& row : out.m) {
        for (float& v : row) {
            v = 7;
        }
    }
    float det = 42;
    EXPECT_EQ(D3DXMatrixInverse(&out, &det, &singular), nullptr);
    EXPECT_EQ(det, 42.0f);
    EXPECT_EQ(out.m[1][2], 7.0f);
    EXPECT_EQ(kelvo::inverse(Matrix(singular)), Matrix::identity());
}

TEST(MatrixOrtho, MapsTheBoxOntoClipSpace) {
    D3DXMATRIX ortho;
    ASSERT_EQ(D3DXMatrixOrthoLH(&ortho, 800, 600, 1, 101), &ortho);
    expectNear(Matrix(ortho),
               {2.0f / 800, 0, 0, 0, 0, 2.0f / 600, 0, 0, 0, 0, 0.01f, 0, 0, 0, -0.01f, 1});
    expectNear(kelvo::transformPoint({400, -300, 1}, Matrix(ortho)), {1, -1, 0});
    expectNear(kelvo::transformPoint({0, 0, 101}, Matrix(ortho)), {0, 0, 1});
}
