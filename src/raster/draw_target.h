// What one band of a frame draws into: the pixels, the depth cells at the same indexes, the row
// table of the frame, and the rectangle of view pixels the band may touch. Drawing code reads
// nothing else of the frame, so bands of one frame can be drawn at the same time.
#pragma once

#include <cstdint>

#include "raster/colour.h"

namespace lw {

struct DrawTarget {
    Colour* pixels = nullptr;
    std::int32_t* depth = nullptr;  // null where nothing tests depth
    const int* rows = nullptr;      // view row y starts at pixels[rows[y]]
    int left = 0;                   // the clip rectangle, view coordinates, inclusive
    int top = 0;
    int right = -1;
    int bottom = -1;
    Colour background = 0;

    bool holds(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

}  // namespace lw
