// The draw routines of Disc styles without images: one flat colour, weighted per pixel by the
// coverage of a circle mask, so the edge is anti-aliased without any distance computed while
// drawing. With inner sizes the same routines draw a ring (the outer disc minus a hole) with an
// optional dot in its middle (a core disc added back).
//
// One pair (clipped, unclipped) per blend family; placeSprite chooses between the two. Each disc
// routine hands over to its ring routine when the sprite has an inner size; a ring routine called
// directly draws a plain disc when there is none.
//
// Callers guarantee, through spriteState: a radius of size2 - 1 (so the box matches the mask of
// size0, the dispatch's relation between the sizes), inner sizes nested as the dispatch makes
// them, alpha and depthCue within 0..255, and for the unclipped routines a sprite box wholly
// inside the view. The masks are built here if a release has freed them since the style's set-up.
// Sizes beyond the largest mask (1020) draw at it.
#pragma once

namespace lw {

// Blend modes Default and Normal: the colour, faded towards the background by fog, mixed in by
// coverage x alpha. A pixel whose weight comes to 0 ends its row.
void discNormalClipped();
void discNormalUnclipped();
// Add: the colour dimmed by alpha, fog and coverage, added with saturation.
void discAddClipped();
void discAddUnclipped();
// Subtract: the same source, subtracted with saturation.
void discSubtractClipped();
void discSubtractUnclipped();
// Multiply: the colour faded towards white by alpha and fog and again by partial coverage,
// multiplied into the frame.
void discMultiplyClipped();
void discMultiplyUnclipped();

// The same families with the ring's coverage: outer - hole + core.
void ringNormalClipped();
void ringNormalUnclipped();
void ringAddClipped();
void ringAddUnclipped();
void ringSubtractClipped();
void ringSubtractUnclipped();
void ringMultiplyClipped();
void ringMultiplyUnclipped();

}  // namespace lw
