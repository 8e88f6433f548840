// 3-vectors in double precision, shared by the cameras and the particle engine.
#pragma once

#include <cmath>

namespace lw {

struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    bool operator==(const Vec3&) const = default;
};

constexpr Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr Vec3 operator*(const Vec3& v, double s) { return {v.x * s, v.y * s, v.z * s}; }
constexpr Vec3 operator*(double s, const Vec3& v) { return v * s; }
constexpr double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The length found by the latest normalisation; the pair force reads particle distances here.
extern double lastLength;

// Shorter vectors keep their direction undefined and stay as they are.
constexpr double kShortestLength = 1e-16;

// Inline, so that the particle engine's inner loops keep them in registers.
inline double length(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
// v of length len as a unit vector (v itself when too short to have a direction).
inline Vec3 unitOf(const Vec3& v, double len) { return len > kShortestLength ? v * (1.0 / len) : v; }
inline Vec3 normalized(const Vec3& v) {
    const double len = length(v);
    lastLength = len;
    return unitOf(v, len);
}
void normalizeInPlace(Vec3& v);
Vec3 cross(const Vec3& a, const Vec3& b);
// Mirrors v on the plane with unit normal n, but only when v moves into the plane.
Vec3 reflect(const Vec3& v, const Vec3& n);
// Carries a local vector to the parent frame: v.x·R0 + v.y·R1 + v.z·R2.
Vec3 rowTransform(const Vec3& v, const Vec3& r0, const Vec3& r1, const Vec3& r2);

}  // namespace lw
