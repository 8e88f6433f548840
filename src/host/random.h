// The one pseudo-random generator of the engine: a 15-bit linear congruential generator, so that
// a seed reproduces a whole scene.
#pragma once

#include <cstdint>

namespace lw {

extern std::uint32_t randomState;

int rand15();                          // next value, 0..32767
void seedRandom();                     // seeds from the host's tick count
void seedRandomWith(std::uint32_t seed);

}  // namespace lw
