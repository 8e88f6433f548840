#include "sprites/sprite_window.h"

#include "sprites/dispatch.h"
#include "sprites/sprite_state.h"

namespace lw {

QuadrantWindow wholeQuadrantWindow() {
    const int r = spriteState.radius;
    return {0, 0, r, r, r, r, true, true, true, true};
}

QuadrantWindow clippedQuadrantWindow() {
    setupClip();
    const SpriteState& s = spriteState;
    if (s.boxLeft > s.boxRight || s.boxTop > s.boxBottom) return {};
    QuadrantWindow w;
    w.firstRow = s.firstRow;
    w.firstColumn = s.firstColumn;
    w.rowsAbove = s.rowsAbove;
    w.rowsBelow = s.rowsBelow;
    w.leftLimit = s.leftBytes / 4;
    w.rightLimit = s.rightBytes / 4;
    w.upper = s.upperVisible != 0;
    w.lower = s.lowerVisible != 0;
    w.left = s.leftVisible != 0;
    w.right = s.rightVisible != 0;
    return w;
}

}  // namespace lw
