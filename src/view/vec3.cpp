#include "view/vec3.h"

#include <cmath>

namespace lw {

double lastLength = 0.0;

namespace {
constexpr double kReflectThreshold = -1e-7;
}  // namespace

void normalizeInPlace(Vec3& v) {
    const double len = length(v);
    lastLength = len;
    if (len > kShortestLength) {
        v.x /= len;
        v.y /= len;
        v.z /= len;
    }
}

Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 reflect(const Vec3& v, const Vec3& n) {
    const double e = 2.0 * dot(v, n);
    if (e > kReflectThreshold) return v;
    return v - n * e;
}

Vec3 rowTransform(const Vec3& v, const Vec3& r0, const Vec3& r1, const Vec3& r2) {
    return {v.x * r0.x + v.y * r1.x + v.z * r2.x, v.x * r0.y + v.y * r1.y + v.z * r2.y,
            v.x * r0.z + v.y * r1.z + v.z * r2.z};
}

}  // namespace lw
