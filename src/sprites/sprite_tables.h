// The two lookup tables of the image sprites, built once per scene (initStyles) and freed by
// releaseSpriteTables. Both are aligned so that a row address and a column offset can be
// combined with a bitwise OR.
#pragma once

#include <cstdint>

namespace lw {

constexpr int kTableSide = 256;

// Row r, entry j (j <= r): 4 x round(divisionScale x j / r), the byte offset of the image column
// (or row / 256) that pixel distance j of a sprite of radius r maps to. Row 0 and the entries
// past the diagonal are 0. Null while not built.
extern std::int32_t* divisionTable;
// The image index of a sprite's rim; at most 255, since images are 256 texels wide.
extern unsigned divisionScale;

// Height of a sphere of radius divisionScale + 0.5 over image texel (row, column), in eighths
// of a texel (0 outside its outline), and a rim shade from 0 at the centre to 16 at the outline.
struct SphereEntry {
    std::int32_t height;
    std::int32_t shade;
};
// 256 rows of 256 entries, row i column j at sphereTable[i * 256 + j]. Null while not built.
extern SphereEntry* sphereTable;

// Each replaces an earlier table of its kind.
void buildDivisionTable();
void buildSphereTable();
void freeDivisionTable();
void freeSphereTable();

// Frees both tables and puts divisionScale back to 255.
void resetSpriteTableState();

}  // namespace lw
