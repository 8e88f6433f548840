// Helpers for the flat disc tests: the state the dispatch leaves for a disc sprite.
#pragma once

#include <cstdint>

#include "raster/colour.h"
#include "sprites/sprite_state.h"

namespace lw::test {

struct DiscLook {
    Colour colour = 0x00FF0000;
    int alpha = 255;
    int depthCue = 255;
    Colour tint = 0xFFFFFF;
    int innerSize1 = 0;
    int innerSize2 = 0;
};

// The radius the dispatch gives a size: size2 - 1, which is the width of the size's mask - 1.
inline int radiusOfSize(int size0) {
    const int size1 = (size0 + 1) >> 1;
    return ((size1 + 1) >> 1) - 1;
}

// What drawParticle and placeSprite leave in spriteState for a disc of size0 centred at (x, y).
inline void placeDisc(int x, int y, int size0, const DiscLook& look = {}) {
    SpriteState& s = spriteState;
    const int r = radiusOfSize(size0 > 1020 ? 1020 : size0);
    s.size0 = size0;
    s.innerSize1 = look.innerSize1;
    s.innerSize2 = look.innerSize2;
    s.centreX = x;
    s.centreY = y;
    s.radius = r;
    s.boxLeft = x - r;
    s.boxRight = x + r;
    s.boxTop = y - r;
    s.boxBottom = y + r;
    s.styleColour = look.colour;
    s.alpha = look.alpha;
    s.depthCue = look.depthCue;
    s.tint = look.tint;
}

}  // namespace lw::test
