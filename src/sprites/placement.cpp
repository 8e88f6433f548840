// Placement of a sprite on the view and the clip set-up of the clipped draw routines.
#include "raster/colour.h"
#include "raster/frame_buffer.h"
#include "sprites/dispatch.h"
#include "sprites/rounding.h"
#include "sprites/sprite_tables.h"

namespace lw {

namespace {

// A style made without routines must not jump through a null pointer.
void callRoutine(DrawRoutine routine) {
    if (routine == nullptr) linkDrawError();
    routine();
}

// Centre and box of a sprite of radius size2 - 1; false when the box misses the view.
bool placeBox(double px, double py) {
    SpriteState& s = spriteState;
    s.radius = s.size2 - 1;
    s.centreX = addHalfTruncate(px * viewScale + s.centreOffsetX);
    s.centreY = addHalfTruncate(py * viewScale + s.centreOffsetY);
    s.boxLeft = s.centreX - s.radius;
    s.boxRight = s.centreX + s.radius;
    s.boxTop = s.centreY - s.radius;
    s.boxBottom = s.centreY + s.radius;
    return !(s.boxTop > viewMaxY || s.boxLeft > viewMaxX || s.boxBottom < 0 || s.boxRight < 0);
}

void drawPlaced(const PBall& style) {
    SpriteState& s = spriteState;
    // Without the table (not built yet) the row stays null; the routines that read it refuse it.
    s.divisionRow = divisionTable == nullptr ? nullptr : divisionTable + s.radius * kTableSide;
    s.images = style.images;
    s.gatheredTexels = style.gatheredTexels;
    const bool inside = s.boxTop >= 0 && s.boxLeft >= 0 && s.boxBottom <= viewMaxY && s.boxRight <= viewMaxX;
    callRoutine(inside ? style.drawUnclipped : style.drawClipped);
}

}  // namespace

// A size2 below 1 (a size rounded to nothing, or a negative size) has no pixels: a negative
// radius would turn the box inside out.
void placeSprite(const PBall& style, double px, double py, double pd) {
    SpriteState& s = spriteState;
    if (s.size2 <= 0) return;
    s.tinyBall = s.size2 == 2 ? 1 : 0;
    if (!placeBox(px, py)) return;
    s.depth = truncateHeld(pd - 0.5);
    drawPlaced(style);
}

void placeSpot(const PBall& style, double px, double py) {
    if (spriteState.size2 <= 0) return;
    if (!placeBox(px, py)) return;
    drawPlaced(style);
}

void placePoint(const PBall& style, double px, double py) {
    SpriteState& s = spriteState;
    if (s.size2 <= 0) return;
    s.pointX = addHalfTruncate(px * viewScale + s.centreOffsetX);
    s.pointY = addHalfTruncate(py * viewScale + s.centreOffsetY);
    // Compared as unsigned, so that negative coordinates are off the view as well.
    if (static_cast<unsigned>(s.pointY) > static_cast<unsigned>(viewMaxY) ||
        static_cast<unsigned>(s.pointX) > static_cast<unsigned>(viewMaxX)) {
        return;
    }
    s.tint = s.tint == 0xFFFFFF ? style.colour : mulColour(style.colour, s.tint);
    callRoutine(style.drawUnclipped);
}

void setupClip() {
    SpriteState& s = spriteState;
    if (s.boxLeft < 0) s.boxLeft = 0;
    if (s.boxRight > viewMaxX) s.boxRight = viewMaxX;
    if (s.boxTop < 0) s.boxTop = 0;
    if (s.boxBottom > viewMaxY) s.boxBottom = viewMaxY;
    const int up = s.centreY - s.boxTop;
    const int down = s.boxBottom - s.centreY;
    const int left = s.centreX - s.boxLeft;
    const int right = s.boxRight - s.centreX;

    s.firstRow = 0;
    s.firstColumn = 0;
    if (up < 0) {
        s.upperVisible = 0;
        s.lowerVisible = 1;
        s.firstRow = -up;
    } else {
        s.upperVisible = 1;
        s.lowerVisible = down < 0 ? 0 : 1;
        if (down < 0) s.firstRow = -down;
    }
    if (left < 0) {
        s.leftVisible = 0;
        s.rightVisible = 1;
        s.firstColumn = -left;
    } else {
        s.leftVisible = 1;
        s.rightVisible = right < 0 ? 0 : 1;
        if (right < 0) s.firstColumn = -right;
    }
    s.rowsAbove = up < s.radius ? up : s.radius;
    s.rowsBelow = down < s.radius ? down : s.radius;
    s.leftBytes = 4 * (left < s.radius ? left : s.radius);
    s.rightBytes = 4 * (right < s.radius ? right : s.radius);
    s.pointY = s.firstRow;
}

}  // namespace lw
