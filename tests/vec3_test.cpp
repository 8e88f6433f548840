#include <gtest/gtest.h>

#include "view/vec3.h"

namespace lw {

TEST(Vec3, NormalizedLeavesLengthAndUnitVector) {
    const Vec3 v{3, 4, 0};
    const Vec3 n = normalized(v);
    EXPECT_DOUBLE_EQ(lastLength, 5.0);
    EXPECT_DOUBLE_EQ(n.x, 0.6);
    EXPECT_DOUBLE_EQ(n.y, 0.8);
    EXPECT_DOUBLE_EQ(n.z, 0.0);
    EXPECT_EQ(v.x, 3.0);  // the argument is untouched
}

TEST(Vec3, TooShortVectorsStayAsTheyAre) {
    Vec3 zero{};
    lastLength = 7;
    normalizeInPlace(zero);
    EXPECT_EQ(lastLength, 0.0);
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(normalized(Vec3{}).y, 0.0);

    Vec3 tiny{1e-16, 0, 0};
    normalizeInPlace(tiny);
    EXPECT_EQ(tiny.x, 1e-16);  // the test is strictly greater
    Vec3 small{2e-16, 0, 0};
    normalizeInPlace(small);
    EXPECT_DOUBLE_EQ(small.x, 1.0);
}

TEST(Vec3, CrossAndRowTransform) {
    const Vec3 c = cross({1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(c.z, 1.0);
    EXPECT_EQ(c.x, 0.0);
    // Rows are the local axes: a local x of 1 lands on R0.
    const Vec3 p = rowTransform({1, 2, 3}, {0, 0, -1}, {0, 1, 0}, {1, 0, 0});
    EXPECT_EQ(p.x, 3.0);
    EXPECT_EQ(p.y, 2.0);
    EXPECT_EQ(p.z, -1.0);
}

TEST(Vec3, ReflectOnlyWhenMovingIntoThePlane) {
    const Vec3 up{0, 1, 0};
    const Vec3 along{1, 0, 0};
    EXPECT_EQ(reflect(along, up).y, 0.0);
    EXPECT_EQ(reflect({0, 2, 0}, up).y, 2.0);
    EXPECT_EQ(reflect({0, -1e-8, 0}, up).y, -1e-8);  // e = -2e-8 is above the threshold
    const Vec3 r = reflect({1, -2, 0}, up);
    EXPECT_EQ(r.x, 1.0);
    EXPECT_EQ(r.y, 2.0);
}

}  // namespace lw
