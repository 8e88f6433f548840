// The draw routines of Disc styles without images: one flat colour, weighted per pixel by the
// coverage of a circle mask, so the edge is anti-aliased without any distance computed while
// drawing. With inner sizes the same routines draw a ring (the outer disc minus a hole) with an
// optional dot in its middle (a core disc added back). A one-pixel disc takes the whole colour.
//
// The record holds a radius of size2 - 1 (so the box matches the mask of size0) and inner sizes
// nested as the placement makes them; the masks are built. Sizes beyond the largest mask (1020)
// draw at it. The unclipped routines rely on a box within the target's columns.
#pragma once

#include "sprites/sprite_record.h"

namespace lw {

// Blend modes Default and Normal: the colour, faded towards the background by fog, mixed in by
// coverage x alpha. A pixel whose weight comes to 0 ends its row.
void discNormalClipped(const SpriteRecord& sprite, const DrawTarget& target);
void discNormalUnclipped(const SpriteRecord& sprite, const DrawTarget& target);
// Add: the colour dimmed by alpha, fog and coverage, added with saturation.
void discAddClipped(const SpriteRecord& sprite, const DrawTarget& target);
void discAddUnclipped(const SpriteRecord& sprite, const DrawTarget& target);
// Subtract: the same source, subtracted with saturation.
void discSubtractClipped(const SpriteRecord& sprite, const DrawTarget& target);
void discSubtractUnclipped(const SpriteRecord& sprite, const DrawTarget& target);
// Multiply: the colour faded towards white by alpha and fog and again by partial coverage,
// multiplied into the frame.
void discMultiplyClipped(const SpriteRecord& sprite, const DrawTarget& target);
void discMultiplyUnclipped(const SpriteRecord& sprite, const DrawTarget& target);

}  // namespace lw
