// The draw routines of Disc styles with images: the four quadrant images cut to a circle whose
// outline and soft edge come from the sphere table, blended into the frame by the combine
// operation of the style's blend mode. No depth test, no depth write.
//
// Callers guarantee, through spriteState: a radius of at most 255 with its division row, the
// sprite tables built, four 256 x 256 images, and for the unclipped routines a sprite box wholly
// inside the view. A missing table or image is a fatal error. The Add, Subtract and Multiply
// routines fold alpha into depthCue, which drawParticle sets anew for every sprite.
#pragma once

namespace lw {

// Modes Default and Normal.
void texturedNormalClipped();
void texturedNormalUnclipped();
void texturedAddClipped();
void texturedAddUnclipped();
void texturedSubtractClipped();
void texturedSubtractUnclipped();
void texturedMultiplyClipped();
void texturedMultiplyUnclipped();

}  // namespace lw
