#include "sprites/point_routines.h"

#include "raster/colour.h"
#include "raster/frame_buffer.h"
#include "sprites/sprite_state.h"

namespace lw {

void plotPoint() {
    const SpriteState& s = spriteState;
    const Colour colour = s.depthCue == 255 ? s.tint : lerpColour(backgroundColour, s.tint, static_cast<unsigned>(s.depthCue));
    pixels[rowTable[s.pointY] + s.pointX] = colour;
}

}  // namespace lw
