// The draw routines of the sprites shaped by the sphere table: Ball styles and Disc styles with
// images. Both read the four quadrant images through the division row and end each row at the
// sphere's outline.
//
// A ball is drawn into the depth buffer: every pixel takes its depth from the sphere table, is
// tested against what is already drawn and writes its own depth; where it is only a little in
// front of the old pixel, or near its own rim, it is blended softly, so balls cut through each
// other with smooth seams. A textured disc has no depth; its rim is softened by the sphere's
// shade and it blends by the style's mode.
//
// The record holds a radius of at most 254 with its division row and four 256 x 256 images; the
// sphere table is built and, for balls, the target has depth cells (the placement checks them).
// The unclipped routines rely on a box within the target's columns.
#pragma once

#include "sprites/sprite_record.h"

namespace lw {

// Ball, modes Default and Normal.
void ballClipped(const SpriteRecord& sprite, const DrawTarget& target);
void ballUnclipped(const SpriteRecord& sprite, const DrawTarget& target);

// Textured disc; Default draws like Normal.
void texturedNormalClipped(const SpriteRecord& sprite, const DrawTarget& target);
void texturedNormalUnclipped(const SpriteRecord& sprite, const DrawTarget& target);
void texturedAddClipped(const SpriteRecord& sprite, const DrawTarget& target);
void texturedAddUnclipped(const SpriteRecord& sprite, const DrawTarget& target);
void texturedSubtractClipped(const SpriteRecord& sprite, const DrawTarget& target);
void texturedSubtractUnclipped(const SpriteRecord& sprite, const DrawTarget& target);
void texturedMultiplyClipped(const SpriteRecord& sprite, const DrawTarget& target);
void texturedMultiplyUnclipped(const SpriteRecord& sprite, const DrawTarget& target);

}  // namespace lw
