// The draw routines of Ball styles: the four quadrant images drawn as a sphere in the depth
// buffer. Every pixel takes its depth from the sphere table, is tested against what is already
// drawn and writes its own depth; where it is only a little in front of the old pixel, or near
// its own rim, it is blended softly, so balls cut through each other with smooth seams.
//
// Callers guarantee, through spriteState: a radius of at most 255 with its division row, the
// sprite tables built, four 256 x 256 images, a depth buffer with the indexes of pixels, and for
// ballUnclipped a sprite box wholly inside the view. A missing table, image or depth buffer is a
// fatal error.
#pragma once

#include <cstdint>

#include "raster/colour.h"

namespace lw {

// The depth that ballPixel tests and writes.
extern int plotDepth;

// One ball pixel from plotDepth, spriteState's lowLimit, divisor, alpha, tint and depthCue, and
// backgroundColour. Writes nothing where the ball lies behind the depth cell.
void ballPixel(Colour& pixel, std::int32_t& depthCell, Colour texel);

// The routines of Ball styles in modes Default and Normal.
void ballClipped();
void ballUnclipped();

void resetBallRoutines();

}  // namespace lw
