// Component-wise comparison of vectors within single-precision rounding.
#pragma once

#include <gtest/gtest.h>

#include "gfx/Vec3.h"

inline void expectNear(const kelvo::Vec3& actual, const kelvo::Vec3& expected,
                       float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}
