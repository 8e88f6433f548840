// The draw routine of Point styles: one pixel, faded toward the background by the fog.
#pragma once

#include "sprites/sprite_record.h"

namespace lw {

// The unclipped routine of Point styles in modes Default and Normal. The placement has checked
// that (centreX, centreY) lies in the view and has put the point's final colour into tint.
// Neither alpha nor the depth buffer nor the old pixel takes part.
void plotPoint(const SpriteRecord& sprite, const DrawTarget& target);

}  // namespace lw
