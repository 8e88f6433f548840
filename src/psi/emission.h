// Emission of particles and the random draws built on rand15. The order of the draws is part of
// the behaviour: a seed reproduces a whole scene, so no draw may be added, dropped or reordered.
#pragma once

#include <cstdint>

#include "view/vec3.h"

namespace lw {

// 1/32767: a draw of 32767 reaches the upper end of a range exactly.
inline constexpr double kRandScale = 3.051850947599719e-05;

double randSym(double a);                  // in [-a, a]; no draw when a is 0
double jitterReal(double a, double j);     // no draw when j is 0
std::int32_t jitterInt(std::int32_t a, std::int32_t j);
// Jitters the blue, green and red bytes; a jittered colour is always opaque. j 0 keeps c as is.
std::uint32_t jitterColour(std::uint32_t c, std::int32_t j);
Vec3 randCube(double a);
Vec3 randInBox(const Vec3& centre, const Vec3& extent);  // draws z, then y, then x
Vec3 randDirection(double speed, double jitter);

// (Re)creates the particles of the current system. With randomStyle 0 the styles repeat
// styleFirst..styleLast along the indices; otherwise each particle draws one. A count of 0
// leaves a complete system without particles.
void emit(int count, std::int32_t styleFirst, std::int32_t styleLast, int randomStyle);

}  // namespace lw
