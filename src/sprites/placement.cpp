// Placement of a sprite on the view, the checks that its routine will find what it reads, and the
// record's way onto the sprite list.
#include "host/process.h"
#include "raster/colour.h"
#include "raster/depth_buffer.h"
#include "raster/frame_buffer.h"
#include "sprites/circle_masks.h"
#include "sprites/dispatch.h"
#include "sprites/rounding.h"
#include "sprites/sprite_list.h"
#include "sprites/sprite_tables.h"

namespace lw {

namespace {

// Centre and box of a sprite of radius size2 - 1; false when the box misses the view.
bool placeBox(SpriteRecord& s, double x, double y) {
    s.radius = s.size2 - 1;
    s.centreX = addHalfTruncate(x);
    s.centreY = addHalfTruncate(y);
    return !(s.centreY - s.radius > viewMaxY || s.centreX - s.radius > viewMaxX || s.centreY + s.radius < 0 ||
             s.centreX + s.radius < 0);
}

// What each family reads while drawing must exist before the frame is drawn, where a missing
// table or image can still end the program clearly.
void requireInputs(const PBall& style) {
    const std::uint32_t kind = spriteKindOf(style.kind);
    const bool images = hasAllImages(style) && divisionTable != nullptr;
    if (kind == SpriteKind::Spot) {
        if (!images) fatalError(L"PSI: spot drawn without its images or division table");
    } else if (kind == SpriteKind::Ball) {
        if (!images || sphereTable == nullptr || depthBuffer == nullptr) {
            fatalError(L"PSI: ball drawn without its images, sprite tables or depth buffer");
        }
    } else if (style.images[0] != nullptr) {
        if (!images || sphereTable == nullptr) fatalError(L"PSI: textured disc drawn without its images or sprite tables");
    } else {
        // A release since the style's set-up has freed the masks; build them again before drawing.
        buildCircleMasks();
    }
}

void appendPlaced(SpriteRecord& s, DrawRoutine routine) {
    if (routine == nullptr) linkDrawError();
    s.draw = routine;
    appendSprite(s);
}

void placeImageSprite(const PBall& style, SpriteRecord& s) {
    const bool inside = s.centreY - s.radius >= 0 && s.centreX - s.radius >= 0 && s.centreY + s.radius <= viewMaxY &&
                        s.centreX + s.radius <= viewMaxX;
    const DrawRoutine routine = inside ? style.drawUnclipped : style.drawClipped;
    if (routine == nullptr) linkDrawError();
    requireInputs(style);
    s.divisionRow = divisionTable == nullptr ? nullptr : divisionTable + s.radius * kTableSide;
    for (int q = 0; q < 4; ++q) s.images[q] = style.images[q];
    s.spotTable = spotTableFor(style, s.radius);
    appendPlaced(s, routine);
}

}  // namespace

// A size2 below 1 (a size rounded to nothing, or a negative size) has no pixels: a negative
// radius would turn the box inside out.
void placeSprite(const PBall& style, SpriteRecord& s, double x, double y, double pd) {
    if (s.size2 <= 0) return;
    s.tinyBall = s.size2 == 2 ? 1 : 0;
    if (!placeBox(s, x, y)) return;
    s.depth = truncateHeld(pd - 0.5);
    placeImageSprite(style, s);
}

void placeSpot(const PBall& style, SpriteRecord& s, double x, double y) {
    if (s.size2 <= 0) return;
    if (!placeBox(s, x, y)) return;
    placeImageSprite(style, s);
}

void placePoint(const PBall& style, SpriteRecord& s, double x, double y) {
    if (s.size2 <= 0) return;
    s.centreX = addHalfTruncate(x);
    s.centreY = addHalfTruncate(y);
    s.radius = 0;
    // Compared as unsigned, so that negative coordinates are off the view as well.
    if (static_cast<unsigned>(s.centreY) > static_cast<unsigned>(viewMaxY) ||
        static_cast<unsigned>(s.centreX) > static_cast<unsigned>(viewMaxX)) {
        return;
    }
    s.tint = s.tint == 0xFFFFFF ? style.colour : mulColour(style.colour, s.tint);
    appendPlaced(s, style.drawUnclipped);
}

}  // namespace lw
