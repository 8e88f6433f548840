#include "sprites/gathered_texels.h"

#include "host/memory.h"
#include "sprites/sprite_tables.h"
#include "sprites/style.h"

namespace lw {

static_assert(kGatheredRadius == 12, "the column offsets below list radii 0..12");
const std::int32_t gatheredColumnOffsets[kGatheredRadius + 1] = {0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48};

void releaseGatheredTexels(PBall& style) {
    freeAligned(style.gatheredTexels);
    style.gatheredTexels = nullptr;
}

void gatherSpriteTexels(PBall& style) {
    releaseGatheredTexels(style);
    for (const auto* image : style.images) {
        if (image == nullptr) return;
    }
    if (divisionTable == nullptr) return;
    auto* gathered = static_cast<std::uint32_t*>(alloc16(sizeof(std::uint32_t) * 4 * kGatheredPerQuadrant, 0));
    for (int n = 0; n < 4; ++n) {
        const std::uint32_t* image = style.images[n];
        std::uint32_t* out = gathered + n * kGatheredPerQuadrant;
        for (int r = 0; r <= kGatheredRadius; ++r) {
            const std::int32_t* division = divisionTable + r * kTableSide;
            for (int i = 0; i <= r; ++i) {
                // Division entries are byte offsets, 4 x the image index.
                const std::uint32_t* row = image + (division[i] / 4) * kImageSide;
                for (int j = 0; j <= r; ++j) *out++ = row[division[j] / 4];
            }
        }
    }
    style.gatheredTexels = gathered;
}

}  // namespace lw
