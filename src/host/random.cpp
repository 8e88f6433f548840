#include "host/random.h"

#include "host/platform.h"

namespace lw {

std::uint32_t randomState = 1;

int rand15() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

void seedRandom() { randomState = platform::tickCount(); }

void seedRandomWith(std::uint32_t seed) { randomState = seed; }

}  // namespace lw
