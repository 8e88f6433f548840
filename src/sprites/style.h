// Brush styles: how a cached particle becomes pixels. Every particle names a style by its index in
// a table of 512; a style may name a next style, so one particle can be drawn by a chain of them.
#pragma once

#include <array>
#include <cstdint>

#include "sprites/sprite_record.h"
#include "sprites/spot_tables.h"

namespace lw {


// A kind code: SpriteKind in the high 16 bits, BlendMode in the low 16 bits.
enum SpriteKind : std::uint32_t { Point = 0x10000, Ball = 0x20000, Spot = 0x30000, Disc = 0x40000 };
enum BlendMode : std::uint32_t { Default = 0, Normal = 1, Add = 2, Subtract = 3, Multiply = 4 };

constexpr std::uint32_t spriteKindOf(std::uint32_t kindCode) { return kindCode & 0xFFFF0000u; }
constexpr std::uint32_t blendModeOf(std::uint32_t kindCode) { return kindCode & 0x0000FFFFu; }

constexpr int kStyleCount = 512;
constexpr int kNoNextStyle = -9;
constexpr int kImageSide = 256;
constexpr std::size_t kImageBytes = kImageSide * kImageSide * 4;  // one quadrant image
constexpr std::size_t kImageAlignment = 1024;  // lets the draw routines OR column offsets in

struct PBall {
    std::uint32_t kind = SpriteKind::Point;
    // Its alpha scales everything the style draws. Opaque white until set up, so a particle of a
    // never set-up style reaches linkDrawError instead of vanishing unnoticed.
    std::uint32_t colour = 0xFFFFFFFF;
    std::int32_t useParticleColour = 1;
    double depthCueScale = 1.0;
    double sizeScale = 1.0;
    double innerRatio1 = 0.0;
    double innerRatio2 = 0.0;
    // Quadrant images: upper left, upper right, lower left, lower right; owned by the style.
    std::array<std::uint32_t*, 4> images{};
    std::int32_t next = kNoNextStyle;
    // Null where the kind and blend mode have none: drawing it is linkDrawError.
    DrawRoutine drawClipped = nullptr;
    DrawRoutine drawUnclipped = nullptr;
    // Spot styles: the resampled sprites of each radius (spot_tables.h); owned.
    SpotTableIndex* spotTables = nullptr;
};

bool hasAllImages(const PBall& style);

extern std::array<PBall*, kStyleCount> styleTable;
extern int currentStyleIndex;
extern PBall* currentStyle;

// Frees the style in the current slot and puts a default one there.
void newStyle();
// Frees the style in the current slot with its images; the slot becomes empty.
void freeStyle();
// Selects a slot, making a default style there when it is empty. An index outside the table is
// a fatal error.
void selectStyle(int index);
// Ends the program: a particle was to be drawn by a style whose kind and blend mode have no routine.
[[noreturn]] void linkDrawError();

// Frees every style (tests, and the end of a scene).
void resetStyleTable();

}  // namespace lw
