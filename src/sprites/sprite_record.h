// One placed sprite of a frame: everything its draw routine needs, decided on the worker before
// any pixel is drawn. Records are plain values; a routine reads its record and its target and
// touches nothing else, so the same record can be drawn into several bands at once.
#pragma once

#include <array>
#include <cstdint>

#include "raster/colour.h"
#include "raster/draw_target.h"

namespace lw {

struct SpriteRecord;
struct SpotTable;
using DrawRoutine = void (*)(const SpriteRecord& sprite, const DrawTarget& target);

struct SpriteRecord {
    DrawRoutine draw = nullptr;
    int centreX = 0;  // a Point's pixel
    int centreY = 0;
    int radius = 0;  // size2 - 1; 0 for a Point
    int size0 = 0;
    int size2 = 0;
    int innerSize1 = 0;
    int innerSize2 = 0;
    int depth = 0;  // Ball: the scaled view depth of the centre
    int tinyBall = 0;
    Colour tint = 0xFFFFFF;  // 0xFFFFFF: no tint; a Point's final colour
    Colour styleColour = 0;
    int alpha = 255;
    int depthCue = 255;  // 255: no fog, 0: invisible
    const std::int32_t* divisionRow = nullptr;  // byte offsets: 4 x image index per pixel distance
    std::array<const Colour*, 4> images{};
    const SpotTable* spotTable = nullptr;  // a Spot style's resampled sprite, or null: read the images

    int firstRow() const { return centreY - radius; }
    int lastRow() const { return centreY + radius; }
};

}  // namespace lw
