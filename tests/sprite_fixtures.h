// Fixtures of the sprite tests and benchmarks: a canvas that hands out draw targets, quadrant
// images, and records as the placement makes them for every routine of the routine table.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/memory.h"
#include "raster/draw_target.h"
#include "sprites/draw_routines.h"
#include "sprites/sprite_record.h"
#include "sprites/sprite_tables.h"
#include "sprites/style.h"

namespace lw::test {

// Pixels (and depth cells at the same indexes) of a view, stored bottom-up like the surface.
class Canvas {
public:
    Canvas(int width, int height, std::uint32_t salt = 0)
        : width_(width), height_(height), pixels_(std::size_t(width) * height), depth_(pixels_.size()), rows_(height) {
        for (int y = 0; y < height; ++y) rows_[y] = width * (height - 1 - y);
        for (std::size_t i = 0; i < pixels_.size(); ++i) {
            pixels_[i] = scrambled(static_cast<std::uint32_t>(i), salt);
            depth_[i] = static_cast<std::int32_t>(scrambled(static_cast<std::uint32_t>(i), salt + 1) % 4096) - 2048;
        }
    }
    DrawTarget target(int left, int top, int right, int bottom) {
        return {pixels_.data(), depth_.data(), rows_.data(), left, top, right, bottom, 0xFFA08CF0u};
    }
    DrawTarget whole() { return target(0, 0, width_ - 1, height_ - 1); }
    std::uint32_t at(int x, int y) const { return pixels_[std::size_t(rows_[y] + x)]; }
    std::int32_t depthAt(int x, int y) const { return depth_[std::size_t(rows_[y] + x)]; }
    bool operator==(const Canvas& other) const { return pixels_ == other.pixels_ && depth_ == other.depth_; }
    void fillDepth(std::int32_t value) { std::fill(depth_.begin(), depth_.end(), value); }

    static std::uint32_t scrambled(std::uint32_t i, std::uint32_t salt) {
        std::uint32_t h = i * 2654435761u ^ salt * 40503u;
        h ^= h >> 13;
        h *= 0x5BD1E995u;
        return h ^ (h >> 15);
    }

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
    std::vector<std::int32_t> depth_;
    std::vector<int> rows_;
};

// A PBall with four 1024-aligned image buffers of its own, outside the table; fill as
// allocAligned's.
struct ImageStyle {
    PBall style;

    ImageStyle(std::uint32_t kindCode, std::uint32_t colour, int fill = 1) {
        style.kind = kindCode;
        style.colour = colour;
        for (auto*& image : style.images) image = static_cast<std::uint32_t*>(allocAligned(kImageBytes, kImageAlignment, fill));
    }
    ~ImageStyle() {
        releaseSpotTables(style);
        for (auto* image : style.images) freeAligned(image);
    }
    ImageStyle(const ImageStyle&) = delete;
    ImageStyle& operator=(const ImageStyle&) = delete;

    template <typename Fn>  // fn(quadrant, row, column) -> texel
    void fill(Fn fn) {
        for (int q = 0; q < 4; ++q) {
            for (int i = 0; i < kImageSide * kImageSide; ++i) style.images[q][i] = fn(q, i / kImageSide, i % kImageSide);
        }
    }
};

// Every routine pair of the table: kind and blend mode, and whether the style has images.
struct RoutineCase {
    std::string name;
    std::uint32_t kind;
    bool images;
    DrawPair routines;
};

inline std::vector<RoutineCase> routineCases() {
    const char* kindNames[] = {"ball", "spot", "disc"};
    const std::uint32_t kinds[] = {SpriteKind::Ball, SpriteKind::Spot, SpriteKind::Disc};
    std::vector<RoutineCase> cases;
    for (int k = 0; k < 3; ++k) {
        for (std::uint32_t mode = 1; mode <= 4; ++mode) {
            for (const bool images : {true, false}) {
                if (!images && kinds[k] != SpriteKind::Disc) continue;
                const DrawPair pair = drawRoutinesFor(kinds[k] | mode, images);
                if (pair.clipped == nullptr) continue;
                const std::string name = std::string(kindNames[k]) + (images ? "" : " flat") + " mode " + std::to_string(mode);
                cases.push_back({name, kinds[k] | mode, images, pair});
            }
        }
    }
    return cases;
}

// A record as the placement leaves it for a sprite of radius r at (x, y); the sprite tables must
// be built.
inline SpriteRecord recordOf(const RoutineCase& c, const ImageStyle& images, int x, int y, int r) {
    SpriteRecord s;
    s.draw = c.routines.clipped;
    s.centreX = x;
    s.centreY = y;
    s.radius = r;
    s.size2 = r + 1;
    s.size0 = 4 * r + 2;
    s.tinyBall = s.size2 == 2 ? 1 : 0;
    s.styleColour = 0xFF3080E0u;
    s.divisionRow = divisionTable + r * kTableSide;
    if (c.images) {
        for (int q = 0; q < 4; ++q) s.images[q] = images.style.images[q];
    }
    return s;
}

}  // namespace lw::test
