// A style's spot sprites of one radius, resampled once and kept across frames. For each of the
// sprite's 2 radius + 1 rows the table holds where the row's texels end in its two quadrants and
// the texels the row's pixels show, side by side in pixel order (left to right). Drawing from it
// reads neither the division table nor scattered image texels and tests no end marker per pixel,
// and it draws exactly the pixels of the walk over the images.
//
// Tables are made and freed on the worker while it places a frame's sprites, never while bands
// draw: the bands only read the tables of the records they draw. Their texels may be filled on
// the band pool just before the frame is drawn. Their memory is bounded; a
// sprite that finds no room draws from the images.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/colour.h"

namespace lw {

struct PBall;

// The placement caps size2 at 255, so no spot is wider; column distances then fit in a byte.
constexpr int kLargestSpotRadius = 254;
constexpr int kSpotRadii = kLargestSpotRadius + 1;

// One row of a spot: its left quadrant covers the column distances 0 .. leftEnd - 1 and its right
// one 1 .. rightEnd - 1, so its pixels run from centreX + 1 - leftEnd to centreX + rightEnd - 1,
// leftEnd + rightEnd - 1 of them (none when that is 0).
struct SpotRow {
    std::uint8_t leftEnd;
    std::uint8_t rightEnd;
    std::uint32_t firstTexel;  // index of the row's leftmost texel in the table
};

struct SpotTable {
    int radius;
    int firstRow;                  // the rows that have pixels lie within firstRow..lastRow
    int lastRow;
    std::size_t bytes;             // of the whole table
    const SpotRow* rows;           // 2 radius + 1 rows, the top one first
    // Either holds three texels more than the rows use, for a last chunk of four that reads past.
    const std::uint8_t* weights;   // Normal spots: the texels' blue bytes; else null
    const Colour* texels;          // the other blend modes: whole texels; else null
};

// A style's tables, one per radius, and where its images' rows end; owned by the style
// (PBall::spotTables). Made anew whenever the images change.
struct SpotTableIndex;

// The table of the style's spots of this radius, made now when missing. Null when the style keeps
// no tables, the radius is out of range, or the memory bound leaves no room even after the
// tables no sprite of this frame uses are freed.
const SpotTable* spotTableFor(const PBall& style, int radius);

// Gives a Spot style an empty index, or frees the one it has (when its images change or go).
void keepSpotTables(PBall& style);
void releaseSpotTables(PBall& style);
// Frees every table of every style (the division table they were read through changes).
void releaseAllSpotTables();

// A new frame's placement begins: the tables its sprites use stay until the next call.
void beginSpotTableFrame();

// From now on tables made get their texels only in fillDeferredSpotTables, which fills them all
// at once on the band pool and ends the deferral. Every drawing of the bands calls it first, so no
// table is drawn from before it has its texels.
void deferSpotTableFills();
void fillDeferredSpotTables();

// Bytes held by all tables, and the most they may hold.
std::size_t spotTableBytes();
extern std::size_t spotTableBudget;

// Frees every table and puts the bound back (tests).
void resetSpotTableState();

}  // namespace lw
