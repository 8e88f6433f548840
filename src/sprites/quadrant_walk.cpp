#include "sprites/quadrant_walk.h"

#include "host/process.h"
#include "sprites/dispatch.h"

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

void requireQuadrantInputs(const wchar_t* message) {
    const SpriteState& s = spriteState;
    const bool imagesThere = s.images[0] && s.images[1] && s.images[2] && s.images[3];
    const bool radiusInTables = s.radius >= 0 && s.radius < kTableSide;
    if (s.divisionRow == nullptr || sphereTable == nullptr || !imagesThere || !radiusInTables) fatalError(message);
}

}  // namespace lw
