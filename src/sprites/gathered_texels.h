// Small sprites read a handful of texels spread over a style's four 256 x 256 images: a few
// dozen cache misses per sprite, which cost more than the drawing. For every radius up to
// kGatheredRadius a style therefore keeps exactly the texels that a sprite of that radius reads,
// side by side: texel (i, j) of quadrant n at radius r is the image texel that row distance i and
// column distance j map to through the division table. Drawing from them gives the same pixels.
#pragma once

#include <cstdint>

namespace lw {

struct PBall;

constexpr int kGatheredRadius = 12;

// Texels of all radii 0..kGatheredRadius of one quadrant: the sum of (r + 1)^2.
constexpr int gatheredRadiusStart(int radius) { return radius * (radius + 1) * (2 * radius + 1) / 6; }
constexpr int kGatheredPerQuadrant = gatheredRadiusStart(kGatheredRadius + 1);

// Gathers the texels of the style's images as they are now (the images must not change
// afterwards without gathering again). Needs the division table; without it, or without
// images, the style keeps none and its sprites read the images themselves.
void gatherSpriteTexels(PBall& style);
void releaseGatheredTexels(PBall& style);

// Byte offsets 0, 4, 8, ...: the column offsets of a gathered row.
extern const std::int32_t gatheredColumnOffsets[kGatheredRadius + 1];

}  // namespace lw
