#include "sprites/sprite_tables.h"

#include <cmath>
#include <cstddef>

#include "host/memory.h"
#include "host/process.h"
#include "sprites/spot_tables.h"

namespace lw {

std::int32_t* divisionTable = nullptr;
unsigned divisionScale = 255;
SphereEntry* sphereTable = nullptr;

namespace {

constexpr std::size_t kDivisionBytes = kTableSide * kTableSide * sizeof(std::int32_t);
constexpr std::size_t kSphereBytes = kTableSide * kTableSide * sizeof(SphereEntry);
constexpr std::size_t kDivisionAlignment = 1024;
constexpr std::size_t kSphereAlignment = 2048;  // one row of the sphere table

// A larger scale would address texels beyond the 256 x 256 images.
void requireScaleInsideImages() {
    if (divisionScale > kTableSide - 1) fatalError(L"PSI: divisionScale beyond the image size");
}

std::int32_t roundedInt(double value) { return static_cast<std::int32_t>(value + 0.5); }

}  // namespace

void buildDivisionTable() {
    requireScaleInsideImages();
    freeDivisionTable();
    divisionTable = static_cast<std::int32_t*>(allocAligned(kDivisionBytes, kDivisionAlignment, 1));
    const double scale = divisionScale;
    for (int r = 1; r < kTableSide; ++r) {
        std::int32_t* row = divisionTable + r * kTableSide;
        for (int j = 0; j <= r; ++j) row[j] = 4 * roundedInt(scale * j / r);
    }
}

void buildSphereTable() {
    requireScaleInsideImages();
    freeSphereTable();
    sphereTable = static_cast<SphereEntry*>(allocAligned(kSphereBytes, kSphereAlignment, 0));
    const double radius = divisionScale + 0.5;
    for (int i = 0; i < kTableSide; ++i) {
        for (int j = 0; j < kTableSide; ++j) {
            const double d = radius * radius - static_cast<double>(j * j) - static_cast<double>(i * i);
            SphereEntry& e = sphereTable[i * kTableSide + j];
            if (d > 0.0) {
                const double root = std::sqrt(d);
                const double rim = (radius - root) / radius;
                e = {roundedInt(8.0 * root), roundedInt(16.0 * rim * rim)};
            } else {
                e = {0, 0};
            }
        }
    }
}

void freeDivisionTable() {
    // The spot tables were read through it.
    releaseAllSpotTables();
    freeAligned(divisionTable);
    divisionTable = nullptr;
}

void freeSphereTable() {
    freeAligned(sphereTable);
    sphereTable = nullptr;
}

void resetSpriteTableState() {
    freeDivisionTable();
    freeSphereTable();
    divisionScale = 255;
}

}  // namespace lw
