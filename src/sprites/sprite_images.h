// The quadrant images of the image sprites: the procedural lit ball (compBALL), the procedural
// soft spot (compSPOT) and the JPEG textures of the program's resources.
//
// Texel (i, j) of every quadrant image lies i rows and j columns away from the sprite centre, in
// units where 255 is the sprite's radius: images[0] upper left, [1] upper right, [2] lower left,
// [3] lower right. The builders write into the style's four existing buffers (allocateStyleImages
// makes them) and read the sphereTable, which must exist.
#pragma once

#include "sprites/style.h"
#include "view/vec3.h"

namespace lw {

// Unit vector of (-1, -1, -1): light from the upper left and from the viewer's side.
extern Vec3 lightDirection;
extern double ballAmbient;    // the darkest a ball gets, as a fraction of its colour
extern double ballBackLight;  // weight of the light on the far side of the ball
extern double spotScale;
extern double spotBias;

// A sphere in the style's colour; texels outside its outline keep the buffer's fill.
void buildBallImages(PBall& style);
// A round soft spot, the same in all four quadrants. A Normal spot holds its shape in the blue
// channel (its routines read it as a weight); a Multiply spot fades from its colour to white.
void buildSpotImages(PBall& style);
// The images from the JPEG resource of that name (255 x 255, enlarged twice, or 511 x 511),
// tinted by the style's colour. A missing, undecodable or wrongly sized picture is fatal.
void loadTextureImages(PBall& style, const wchar_t* resourceName);

void resetBallImageState();
void resetSpotImageState();

}  // namespace lw
