// Helpers for the tests of the ball and textured disc routines: the state placeSprite leaves for
// a sprite, and the model of which texel and sphere entry a pixel of the sprite reads.
#pragma once

#include <cstdint>

#include "raster/colour.h"
#include "sprite_canvas.h"
#include "sprites/sprite_state.h"
#include "sprites/sprite_tables.h"

namespace lw::test {

struct SpriteLook {
    int alpha = 255;
    int depthCue = 255;
    Colour tint = 0xFFFFFF;
};

// What drawParticle and placeSprite leave in spriteState for a sprite of radius r at (x, y).
inline void placeRoundSprite(int x, int y, int r, const QuadrantImages& images, const SpriteLook& look = {},
                             int depth = 0) {
    SpriteState& s = spriteState;
    s.size2 = r + 1;
    s.tinyBall = s.size2 == 2 ? 1 : 0;
    s.radius = r;
    s.centreX = x;
    s.centreY = y;
    s.depth = depth;
    s.boxLeft = x - r;
    s.boxRight = x + r;
    s.boxTop = y - r;
    s.boxBottom = y + r;
    s.divisionRow = divisionTable + r * kTableSide;
    s.images = images.images;
    s.alpha = look.alpha;
    s.depthCue = look.depthCue;
    s.tint = look.tint;
}

// The texel of the pixel at offset (dx, dy) from the centre of a sprite of radius r: the centre
// row and column belong to the upper and left quadrants; 255 is the sprite's rim.
struct TexelSpot {
    int quadrant;
    int row;
    int column;
};
inline int imageIndex(int distance, int r) { return r == 0 ? 0 : static_cast<int>(255.0 * distance / r + 0.5); }
inline TexelSpot texelSpotOf(int dx, int dy, int r) {
    return {(dy > 0 ? 2 : 0) + (dx > 0 ? 1 : 0), imageIndex(dy < 0 ? -dy : dy, r), imageIndex(dx < 0 ? -dx : dx, r)};
}
inline const SphereEntry& sphereAt(const TexelSpot& t) { return sphereTable[t.row * kTableSide + t.column]; }

// Pixels before drawing: the same at the same view position in every frame.
inline std::uint32_t scrambled(int x, int y, std::uint32_t salt = 0) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u ^ salt;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    return h ^ (h >> 15);
}

}  // namespace lw::test
