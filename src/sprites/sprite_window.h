// The part of a sprite that its row loop draws, shared by every family that walks the four
// mirrored quadrants: the whole sprite, or what setupClip leaves of it.
#pragma once

namespace lw {

// Which rows and columns of the sprite a walk covers, as distances from the centre.
struct QuadrantWindow {
    int firstRow = 0;
    int firstColumn = 0;
    int rowsAbove = 0;
    int rowsBelow = 0;
    int leftLimit = 0;   // the last column distance drawn to the left
    int rightLimit = 0;  // and to the right
    bool upper = false;  // the centre row belongs to the upper half
    bool lower = false;
    bool left = false;  // the centre column belongs to the left half
    bool right = false;
};

QuadrantWindow wholeQuadrantWindow();
// Runs setupClip. A box that misses the view altogether (which placeSprite never hands on) gives
// a window without rows, where the clip values would let the loop run past the sprite.
QuadrantWindow clippedQuadrantWindow();

}  // namespace lw
