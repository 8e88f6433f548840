// Helpers for the sprite tests: a style with its own four image buffers, outside the table.
#pragma once

#include <cstdint>

#include "host/memory.h"
#include "sprites/style.h"

namespace lw::test {

// A PBall whose four quadrant buffers start with the given fill (255: 0xFF bytes, else zero).
struct ImageStyle {
    PBall style;

    ImageStyle(std::uint32_t kindCode, std::uint32_t colour, int fill = 1) {
        style.kind = kindCode;
        style.colour = colour;
        for (auto*& image : style.images) image = static_cast<std::uint32_t*>(allocAligned(kImageBytes, kImageAlignment, fill));
    }
    ~ImageStyle() {
        for (auto* image : style.images) freeAligned(image);
    }
    ImageStyle(const ImageStyle&) = delete;
    ImageStyle& operator=(const ImageStyle&) = delete;

    std::uint32_t texel(int quadrant, int row, int column) const { return style.images[quadrant][row * kImageSide + column]; }
};

}  // namespace lw::test
