// The draw routines of Spot styles: a square image sprite of side 2 x radius + 1 around the centre
// pixel, read from the style's four quadrant images by nearest-neighbour scaling and blended into
// the frame. One pair (clipped, unclipped) per blend family; placeSpot chooses between the two.
//
// Callers guarantee, through spriteState: four 256 x 256 images aligned to 1024 bytes, the
// division row of the radius, a radius of at most 254, and for the unclipped routines a sprite
// box wholly inside the view.
#pragma once

namespace lw {

// Blend modes Default and Add: the texel, scaled by alpha and depth cue, added with saturation.
void spotAddClipped();
void spotAddUnclipped();
// Subtract: the same source, subtracted with saturation.
void spotSubtractClipped();
void spotSubtractUnclipped();
// Multiply: the texel (or, with a tint, its blue byte as a grey level between tint and white),
// faded towards white by alpha and depth cue, multiplied into the frame.
void spotMultiplyClipped();
void spotMultiplyUnclipped();
// Normal: the style colour, weighted per pixel by the texel's blue byte and by alpha.
void spotNormalClipped();
void spotNormalUnclipped();

}  // namespace lw
