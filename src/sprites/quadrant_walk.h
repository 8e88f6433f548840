// The row loop shared by the ball and textured disc routines: a round sprite drawn from four
// mirrored quadrant images, texel and sphere-table entry found through the division row, one
// sphere entry serving the four quadrants, each row ending at the sphere's outline. Clipping only
// changes where the loop starts and stops, so the loop itself has no bounds test.
//
// Callers guarantee, through spriteState: four 256 x 256 images, the division row of the radius,
// the sphere table (requireQuadrantInputs checks that they exist), and for a whole window a
// sprite box wholly inside the view.
#pragma once

#include <cstdint>

#include "raster/colour.h"
#include "raster/frame_buffer.h"
#include "sprites/sprite_state.h"
#include "sprites/sprite_window.h"
#include "sprites/sprite_tables.h"
#include "sprites/style.h"

namespace lw {


// Ends the program with `message` unless the division row, the sphere table and the four images
// are there and the radius lies within the tables.
void requireQuadrantInputs(const wchar_t* message);

namespace quadrantDetail {

// The texel rows of the current pixel row, null where a quadrant draws no further, and the pixel
// indexes of the row's centre column: indexes, not pointers, since a clipped centre may lie off
// the view.
struct QuadrantRows {
    const Colour* texels[4] = {nullptr, nullptr, nullptr, nullptr};
    int upperCentre = 0;
    int lowerCentre = 0;

    bool any() const { return texels[0] || texels[1] || texels[2] || texels[3]; }
};

// The quadrant stops after the pixel at its last column.
template <class Painter>
inline void paintTexel(Painter& painter, const Colour*& texels, int pixel, int ix, bool lastColumn) {
    painter.paint(pixel, texels[ix]);
    if (lastColumn) texels = nullptr;
}

template <class Painter>
void walkColumns(Painter& painter, const QuadrantWindow& w, const SphereEntry* sphereRow, QuadrantRows& r) {
    const std::int32_t* division = spriteState.divisionRow;
    for (int dx = w.firstColumn; r.any(); ++dx) {
        const int ix = division[dx] >> 2;
        if (!painter.beginColumn(sphereRow[ix])) return;
        if (r.texels[0]) paintTexel(painter, r.texels[0], r.upperCentre - dx, ix, dx == w.leftLimit);
        if (r.texels[2]) paintTexel(painter, r.texels[2], r.lowerCentre - dx, ix, dx == w.leftLimit);
        if (dx != 0) {
            if (r.texels[1]) paintTexel(painter, r.texels[1], r.upperCentre + dx, ix, dx == w.rightLimit);
            if (r.texels[3]) paintTexel(painter, r.texels[3], r.lowerCentre + dx, ix, dx == w.rightLimit);
        } else if (w.rightLimit == 0) {
            r.texels[1] = nullptr;
            r.texels[3] = nullptr;
        }
    }
}

}  // namespace quadrantDetail

// Painter: bool beginColumn(const SphereEntry&) prepares the column's four pixels, or returns
// false where the sprite's outline ends the row; void paint(int pixelIndex, Colour texel).
template <class Painter>
void walkQuadrants(Painter& painter, QuadrantWindow w) {
    const SpriteState& s = spriteState;
    for (int dy = w.firstRow; w.upper || w.lower; ++dy) {
        const int iy = s.divisionRow[dy] >> 2;
        const int imageRow = iy * kImageSide;
        quadrantDetail::QuadrantRows r;
        if (w.upper) {
            r.upperCentre = rowTable[s.centreY - dy] + s.centreX;
            if (w.left) r.texels[0] = s.images[0] + imageRow;
            if (w.right) r.texels[1] = s.images[1] + imageRow;
            w.upper = dy != w.rowsAbove;
        }
        if (w.lower) {
            if (dy != 0) {
                r.lowerCentre = rowTable[s.centreY + dy] + s.centreX;
                if (w.left) r.texels[2] = s.images[2] + imageRow;
                if (w.right) r.texels[3] = s.images[3] + imageRow;
            }
            w.lower = dy != w.rowsBelow;
        }
        quadrantDetail::walkColumns(painter, w, sphereTable + iy * kTableSide, r);
    }
}

}  // namespace lw
