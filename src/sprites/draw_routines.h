// The routine table: which clipped and unclipped draw routine a style of a kind and blend mode
// gets. Chosen once when a style is set up, so the rasterizers never test kind or mode.
#pragma once

#include <cstdint>

#include "sprites/style.h"

namespace lw {

struct DrawPair {
    DrawRoutine clipped;
    DrawRoutine unclipped;
};

// A Disc is textured when it has images; every other kind ignores hasImages. Kinds and modes
// without routines get none (null), which the placement turns into linkDrawError.
DrawPair drawRoutinesFor(std::uint32_t kindCode, bool hasImages);

}  // namespace lw
