// The one record through which the dispatch hands a sprite to its draw routine. Drawing is
// strictly sequential, so a single global serves; the routines take no arguments and read it.
#pragma once

#include <array>
#include <cstdint>

namespace lw {

using FadeHook = double (*)();

struct SpriteState {
    // Per frame / per system (set by the render loop).
    int centreOffsetX = 0;
    int centreOffsetY = 0;
    int fadeCurve = 0;
    FadeHook fadeHook = nullptr;
    std::uint32_t tint = 0xFFFFFF;  // 0xFFFFFF: no tint
    int alpha = 255;

    // Per particle and style (set by the dispatch).
    double fogFactor = 1.0;
    int depthCue = 255;  // 255: no fog, 0: invisible
    double sizeExact = 0.0;
    int size0 = 0;
    int size1 = 0;
    int size2 = 0;  // size2 - 1 is the radius in pixels
    int innerSize1 = 0;
    int innerSize2 = 0;
    std::uint32_t styleColour = 0;

    // Set by the placement routines.
    int centreX = 0;
    int centreY = 0;
    int radius = 0;
    int depth = 0;
    int tinyBall = 0;
    int boxLeft = 0;
    int boxRight = 0;
    int boxTop = 0;
    int boxBottom = 0;
    const std::int32_t* divisionRow = nullptr;  // byte offsets: 4 x image index per pixel distance
    std::array<std::uint32_t*, 4> images{};
    const std::uint32_t* gatheredTexels = nullptr;  // the style's, or null: read the images
    int pointX = 0;  // a Point's pixel; the sprite routines' column offset
    int pointY = 0;  // a Point's pixel; the sprite routines' row distance

    // Set by setupClip (clipped routines only).
    int rowsAbove = 0;
    int rowsBelow = 0;
    int leftBytes = 0;
    int rightBytes = 0;
    int firstRow = 0;
    int firstColumn = 0;
    int upperVisible = 0;
    int lowerVisible = 0;
    int leftVisible = 0;
    int rightVisible = 0;

    // Per-pixel working fields.
    int coverage = 0;
    int lowLimit = 0;
    int divisor = 0;
};

extern SpriteState spriteState;

}  // namespace lw
