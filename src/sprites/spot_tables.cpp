#include "sprites/spot_tables.h"

#include <algorithm>
#include <new>

#include "host/memory.h"
#include "sprites/sprite_tables.h"
#include "sprites/style.h"

namespace lw {

// The scene's 33 textures at 3840 x 2160 use tables of about 9 MB in a frame; the rare large
// sprites beyond that draw from the images.
std::size_t spotTableBudget = 16u << 20;

namespace {

// A table and what the cache keeps of it, in one block with the rows and texels behind it.
struct Block {
    SpotTable table;
    Block* newer;
    Block* older;
    SpotTable** slot;  // the style's index entry that points here
    std::size_t bytes;
    std::uint32_t usedInFrame;
};

Block* newest = nullptr;
std::size_t heldBytes = 0;
std::uint32_t frame = 1;

Block* blockOf(SpotTable* table) { return reinterpret_cast<Block*>(table); }

void unlink(Block* b) {
    (b->newer != nullptr ? b->newer->older : newest) = b->older;
    if (b->older != nullptr) b->older->newer = b->newer;
}

void freeBlock(Block* b) {
    unlink(b);
    *b->slot = nullptr;
    heldBytes -= b->bytes;
    freeAligned(b);
}

void freeTablesUnusedThisFrame() {
    for (Block* b = newest; b != nullptr;) {
        Block* older = b->older;
        if (b->usedInFrame != frame) freeBlock(b);
        b = older;
    }
}

// Where the texels of a row distance lie in the style's images, and which texel ends a row.
struct Source {
    const Colour* images[4];
    const std::int32_t* division;  // byte offsets, 4 x the image index
    Colour endMarker;
    int radius;

    const Colour* row(int quadrant, int dy) const { return images[quadrant] + division[dy] / 4 * kImageSide; }
    Colour at(const Colour* row, int dx) const { return row[division[dx] / 4]; }
    // The right quadrants start at the column after the centre, which belongs to the left half.
    int end(const Colour* row, int from) const {
        for (int dx = from; dx <= radius; ++dx) {
            if (at(row, dx) == endMarker) return dx;
        }
        return radius + 1;
    }
};

// Row k of the table: row distance |k - radius|, the upper quadrants down to the centre row.
void rowQuadrants(const Source& src, int k, const Colour*& left, const Colour*& right) {
    const bool upper = k <= src.radius;
    const int dy = upper ? src.radius - k : k - src.radius;
    left = src.row(upper ? 0 : 2, dy);
    right = src.row(upper ? 1 : 3, dy);
}

std::size_t roundedUp(std::size_t n) { return (n + 15) & ~std::size_t{15}; }

// Where each row's texels end; returns how many texels the table holds.
std::uint32_t planRows(const Source& src, SpotRow* rows) {
    std::uint32_t texelCount = 0;
    for (int k = 0; k <= 2 * src.radius; ++k) {
        const Colour* left = nullptr;
        const Colour* right = nullptr;
        rowQuadrants(src, k, left, right);
        rows[k].leftEnd = static_cast<std::uint8_t>(src.end(left, 0));
        rows[k].rightEnd = static_cast<std::uint8_t>(src.end(right, 1));
        rows[k].firstTexel = texelCount;
        texelCount += rows[k].leftEnd + rows[k].rightEnd - 1;
    }
    return texelCount;
}

struct Layout {
    std::size_t rowsAt;
    std::size_t texelsAt;
    std::size_t bytes;
};

Layout layoutOf(int radius, std::uint32_t texelCount, bool weights) {
    const std::size_t rowsAt = roundedUp(sizeof(Block));
    const std::size_t texelsAt = rowsAt + roundedUp(sizeof(SpotRow) * static_cast<std::size_t>(2 * radius + 1));
    return {rowsAt, texelsAt, texelsAt + roundedUp(texelCount * (weights ? 1 : sizeof(Colour)))};
}

// The texels of each row in pixel order: the left quadrant from its end back to the centre
// column, then the right one outward.
template <typename Texel>
void fillTexels(const Source& src, const SpotRow* rows, Texel* out) {
    for (int k = 0; k <= 2 * src.radius; ++k) {
        const Colour* left = nullptr;
        const Colour* right = nullptr;
        rowQuadrants(src, k, left, right);
        Texel* at = out + rows[k].firstTexel;
        for (int dx = rows[k].leftEnd - 1; dx >= 0; --dx) *at++ = static_cast<Texel>(src.at(left, dx));
        for (int dx = 1; dx < rows[k].rightEnd; ++dx) *at++ = static_cast<Texel>(src.at(right, dx));
    }
}

Block* buildBlock(const Source& src, const SpotRow* plannedRows, const Layout& layout, bool weights) {
    auto* raw = static_cast<unsigned char*>(alloc16(layout.bytes, 0));
    auto* b = new (raw) Block{};
    auto* rows = reinterpret_cast<SpotRow*>(raw + layout.rowsAt);
    std::copy(plannedRows, plannedRows + 2 * src.radius + 1, rows);
    unsigned char* texels = raw + layout.texelsAt;
    if (weights) {
        // A Normal spot's texel is a weight in its blue byte.
        fillTexels(src, rows, texels);
        b->table = {src.radius, 0, rows, texels, nullptr};
    } else {
        fillTexels(src, rows, reinterpret_cast<Colour*>(texels));
        b->table = {src.radius, 0, rows, nullptr, reinterpret_cast<Colour*>(texels)};
    }
    b->bytes = layout.bytes;
    return b;
}

}  // namespace

const SpotTable* spotTableFor(const PBall& style, int radius) {
    if (style.spotTables == nullptr || radius < 0 || radius > kLargestSpotRadius) return nullptr;
    SpotTable*& slot = style.spotTables->byRadius[radius];
    const std::uint32_t mode = blendModeOf(style.kind);
    if (slot != nullptr && slot->blendMode == mode) {
        blockOf(slot)->usedInFrame = frame;
        return slot;
    }
    // A table of another blend mode holds other texels, or ends its rows at another marker.
    if (slot != nullptr) freeBlock(blockOf(slot));
    if (!hasAllImages(style) || divisionTable == nullptr) return nullptr;
    Source src{{style.images[0], style.images[1], style.images[2], style.images[3]},
               divisionTable + radius * kTableSide,
               mode == BlendMode::Multiply ? 0x00FFFFFFu : 0u,
               radius};
    const bool weights = mode == BlendMode::Normal;
    SpotRow rows[2 * kLargestSpotRadius + 1];
    const Layout layout = layoutOf(radius, planRows(src, rows), weights);
    if (heldBytes + layout.bytes > spotTableBudget) freeTablesUnusedThisFrame();
    if (heldBytes + layout.bytes > spotTableBudget) return nullptr;
    Block* b = buildBlock(src, rows, layout, weights);
    b->table.blendMode = mode;
    b->slot = &slot;
    b->usedInFrame = frame;
    b->older = newest;
    if (newest != nullptr) newest->newer = b;
    newest = b;
    heldBytes += b->bytes;
    slot = &b->table;
    return slot;
}

void keepSpotTables(PBall& style) {
    releaseSpotTables(style);
    style.spotTables = static_cast<SpotTableIndex*>(alloc16(sizeof(SpotTableIndex), 1));
}

void releaseSpotTables(PBall& style) {
    if (style.spotTables == nullptr) return;
    for (SpotTable* table : style.spotTables->byRadius) {
        if (table != nullptr) freeBlock(blockOf(table));
    }
    freeAligned(style.spotTables);
    style.spotTables = nullptr;
}

void releaseAllSpotTables() {
    while (newest != nullptr) freeBlock(newest);
}

void beginSpotTableFrame() { ++frame; }

std::size_t spotTableBytes() { return heldBytes; }

}  // namespace lw
