// Comparison of vectors within a tolerance, for the camera tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "view/vec3.h"

namespace lw::test {

inline ::testing::AssertionResult near(const Vec3& a, const Vec3& b, double tolerance = 1e-12) {
    if (std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance && std::abs(a.z - b.z) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") is not (" << b.x << ", "
                                         << b.y << ", " << b.z << ")";
}

}  // namespace lw::test
