// The draw routines of Spot styles: a square image sprite of side 2 x radius + 1 around the centre
// pixel, read from the style's four quadrant images by nearest-neighbour scaling and blended into
// the target. In each row a quadrant ends at its first end-marker texel. One pair (clipped,
// unclipped) per blend family; the unclipped one relies on a box within the target's columns.
//
// The record holds four 256 x 256 images aligned to 1024 bytes, the division row of the radius
// and a radius of at most 254 (the placement checks them).
#pragma once

#include "sprites/sprite_record.h"

namespace lw {

// Blend modes Default and Add: the texel, scaled by alpha and depth cue, added with saturation.
void spotAddClipped(const SpriteRecord& sprite, const DrawTarget& target);
void spotAddUnclipped(const SpriteRecord& sprite, const DrawTarget& target);
// Subtract: the same source, subtracted with saturation.
void spotSubtractClipped(const SpriteRecord& sprite, const DrawTarget& target);
void spotSubtractUnclipped(const SpriteRecord& sprite, const DrawTarget& target);
// Multiply: the texel (or, with a tint, its blue byte as a grey level between tint and white),
// faded towards white by alpha and depth cue, multiplied into the frame.
void spotMultiplyClipped(const SpriteRecord& sprite, const DrawTarget& target);
void spotMultiplyUnclipped(const SpriteRecord& sprite, const DrawTarget& target);
// Normal: the style colour, weighted per pixel by the texel's blue byte and by alpha.
void spotNormalClipped(const SpriteRecord& sprite, const DrawTarget& target);
void spotNormalUnclipped(const SpriteRecord& sprite, const DrawTarget& target);

}  // namespace lw
