#include "sprites/spot_tables.h"

#include <algorithm>

#include "host/memory.h"
#include "sprites/band_pool.h"
#include "sprites/sprite_tables.h"
#include "sprites/style.h"

namespace lw {

// The scene's textures at 3840 x 2160 use tables of about 2 MB a frame, but as the particles move
// their sprites keep taking other radii; with this much kept, about a tenth of a frame's texels
// are resampled anew, and at the smaller sizes every table made stays.
constexpr std::size_t kSpotTableBudget = 32u << 20;
std::size_t spotTableBudget = kSpotTableBudget;

struct SpotTableIndex {
    SpotTable* byRadius[kSpotRadii];
    std::uint32_t usedInFrame[kSpotRadii];
    // Per quadrant and image row, the first column holding the end marker (kImageSide: none),
    // found for the blend mode markersOf.
    std::uint16_t firstMarker[4][kImageSide];
    std::uint32_t markersOf;
    SpotTableIndex* next;
    SpotTableIndex* previous;
};

namespace {

constexpr std::uint32_t kNoBlendMode = 0xFFFFFFFFu;

SpotTableIndex* indexes = nullptr;  // every style's, linked
std::size_t heldBytes = 0;
std::uint32_t frame = 1;

Colour endMarkerOf(std::uint32_t blendMode) { return blendMode == BlendMode::Multiply ? 0x00FFFFFFu : 0u; }

void findMarkers(SpotTableIndex& index, const PBall& style, std::uint32_t blendMode) {
    const Colour marker = endMarkerOf(blendMode);
    for (int q = 0; q < 4; ++q) {
        for (int i = 0; i < kImageSide; ++i) {
            const Colour* row = style.images[q] + i * kImageSide;
            index.firstMarker[q][i] = static_cast<std::uint16_t>(std::find(row, row + kImageSide, marker) - row);
        }
    }
    index.markersOf = blendMode;
}

void freeTable(SpotTableIndex& index, int radius) {
    heldBytes -= index.byRadius[radius]->bytes;
    freeAligned(index.byRadius[radius]);
    index.byRadius[radius] = nullptr;
}

void forgetPendingOf(const SpotTableIndex& index);

void freeTables(SpotTableIndex& index) {
    forgetPendingOf(index);
    for (int r = 0; r < kSpotRadii; ++r) {
        if (index.byRadius[r] != nullptr) freeTable(index, r);
    }
}

// The frame stamp of the tables that have gone unused longest; frame when every table is in use.
std::uint32_t oldestStamp() {
    std::uint32_t oldest = frame;
    for (const SpotTableIndex* index = indexes; index != nullptr; index = index->next) {
        for (int r = 0; r < kSpotRadii; ++r) {
            if (index->byRadius[r] != nullptr && frame - index->usedInFrame[r] > frame - oldest) oldest = index->usedInFrame[r];
        }
    }
    return oldest;
}

// Frees the tables unused longest, never one of this frame, down to three quarters of the
// budget, so that the search runs once for many tables; false when the bytes still do not fit.
bool makeRoom(std::size_t bytes) {
    if (heldBytes + bytes <= spotTableBudget) return true;
    while (heldBytes + bytes > spotTableBudget - spotTableBudget / 4) {
        const std::uint32_t oldest = oldestStamp();
        if (oldest == frame) break;
        for (SpotTableIndex* index = indexes; index != nullptr; index = index->next) {
            for (int r = 0; r < kSpotRadii; ++r) {
                if (index->byRadius[r] != nullptr && index->usedInFrame[r] == oldest) freeTable(*index, r);
            }
        }
    }
    return heldBytes + bytes <= spotTableBudget;
}

// The texels of one row of a spot: a quadrant's image row, sampled through the division row.
struct QuadrantRow {
    const Colour* texels;
    int firstMarker;  // image column
};

struct Source {
    const PBall& style;
    const SpotTableIndex& index;
    const std::int32_t* division;  // byte offsets, 4 x the image index
    Colour endMarker;
    int radius;

    int column(int dx) const { return division[dx] >> 2; }
    QuadrantRow row(int quadrant, int dy) const {
        const int imageRow = division[dy] >> 2;
        return {style.images[quadrant] + imageRow * kImageSide, index.firstMarker[quadrant][imageRow]};
    }
    // The first column distance from `from` on whose texel is the end marker, else radius + 1.
    // The division row never decreases, so the distances up to one that samples a column before
    // the image row's first marker need no test; (m - 1) x radius / 255 is such a distance unless
    // divisionScale is above 255.
    int end(const QuadrantRow& row, int from) const {
        int dx = std::max(from, std::min((row.firstMarker - 1) * radius / 255, radius));
        if (dx > from && column(dx) >= row.firstMarker) dx = from;
        for (; dx <= radius; ++dx) {
            if (row.texels[column(dx)] == endMarker) return dx;
        }
        return radius + 1;
    }
};

// Row k of the table: row distance |k - radius|, the upper quadrants down to the centre row.
void rowQuadrants(const Source& src, int k, QuadrantRow& left, QuadrantRow& right) {
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
        QuadrantRow left{};
        QuadrantRow right{};
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
    const std::size_t rowsAt = roundedUp(sizeof(SpotTable));
    const std::size_t texelsAt = rowsAt + roundedUp(sizeof(SpotRow) * static_cast<std::size_t>(2 * radius + 1));
    // Three texels past the last row: a span's last chunk of four may read them (and ignore them).
    return {rowsAt, texelsAt, texelsAt + roundedUp((texelCount + 3) * (weights ? 1 : sizeof(Colour)))};
}

// The texels of each row in pixel order: the left quadrant from its end back to the centre
// column, then the right one outward. A Normal spot's texel is a weight in its blue byte.
template <typename Texel>
void fillTexels(const Source& src, const SpotRow* rows, Texel* out, int firstRow, int lastRow) {
    for (int k = firstRow; k <= lastRow; ++k) {
        QuadrantRow left{};
        QuadrantRow right{};
        rowQuadrants(src, k, left, right);
        Texel* at = out + rows[k].firstTexel;
        for (int dx = rows[k].leftEnd - 1; dx >= 0; --dx) *at++ = static_cast<Texel>(left.texels[src.column(dx)]);
        for (int dx = 1; dx < rows[k].rightEnd; ++dx) *at++ = static_cast<Texel>(right.texels[src.column(dx)]);
    }
}

SpotTable* buildTable(const Source& src, const SpotRow* plannedRows, const Layout& layout, std::uint32_t blendMode) {
    auto* raw = static_cast<unsigned char*>(alloc16(layout.bytes, 0));
    auto* rows = reinterpret_cast<SpotRow*>(raw + layout.rowsAt);
    std::copy(plannedRows, plannedRows + 2 * src.radius + 1, rows);
    unsigned char* texels = raw + layout.texelsAt;
    auto* table = reinterpret_cast<SpotTable*>(raw);
    *table = {src.radius, 0, -1, layout.bytes, rows, nullptr, nullptr};
    for (int k = 0; k <= 2 * src.radius; ++k) {
        if (rows[k].leftEnd + rows[k].rightEnd - 1 == 0) continue;
        if (table->lastRow < 0) table->firstRow = k;
        table->lastRow = k;
    }
    if (blendMode == BlendMode::Normal) {
        table->weights = texels;
    } else {
        table->texels = reinterpret_cast<Colour*>(texels);
    }
    return table;
}

// The texels of the table's rows firstRow..lastRow; rows apart can be filled on different threads.
void fillRows(const Source& src, const SpotTable& table, int firstRow, int lastRow) {
    if (table.weights != nullptr) {
        fillTexels(src, table.rows, const_cast<std::uint8_t*>(table.weights), firstRow, lastRow);
    } else {
        fillTexels(src, table.rows, const_cast<Colour*>(table.texels), firstRow, lastRow);
    }
}

// Tables made while a frame's sprites are placed get their texels just before the frame is drawn,
// on the band pool: resampling the images is most of what a table costs, and the worker would
// otherwise do it alone while the helpers wait for the bands.
constexpr int kMostPendingTables = 1024;  // beyond this, a table is filled at once
constexpr int kRowsPerFillJob = 32;

struct PendingTable {
    const PBall* style;
    const SpotTableIndex* index;
    const std::int32_t* division;
    SpotTable* table;
    int firstJob;  // its jobs are firstJob.. up to the next table's
};
PendingTable pendingTables[kMostPendingTables];
int pendingCount = 0;
bool fillsDeferred = false;

Source sourceOf(const PendingTable& p) {
    return {*p.style, *p.index, p.division, endMarkerOf(blendModeOf(p.style->kind)), p.table->radius};
}

int fillJobsOf(const SpotTable& table) { return (2 * table.radius + kRowsPerFillJob) / kRowsPerFillJob; }

void fillJob(const void*, int job) {
    const PendingTable* p = std::upper_bound(pendingTables, pendingTables + pendingCount, job,
                                             [](int j, const PendingTable& t) { return j < t.firstJob; }) - 1;
    const int firstRow = (job - p->firstJob) * kRowsPerFillJob;
    fillRows(sourceOf(*p), *p->table, firstRow, std::min(firstRow + kRowsPerFillJob - 1, 2 * p->table->radius));
}

// The pending tables of an index whose tables are being freed.
void forgetPendingOf(const SpotTableIndex& index) {
    pendingCount = static_cast<int>(std::remove_if(pendingTables, pendingTables + pendingCount,
                                                   [&index](const PendingTable& p) { return p.index == &index; }) -
                                    pendingTables);
}

void fillLater(const Source& src, SpotTable* table) {
    if (!fillsDeferred || pendingCount == kMostPendingTables) {
        fillRows(src, *table, 0, 2 * src.radius);
        return;
    }
    pendingTables[pendingCount++] = {&src.style, &src.index, src.division, table, 0};
}

}  // namespace

namespace {

// Apart from the lookup, so that the lookup, which nearly every sprite ends in, needs none of the
// registers and the stack a new table's rows take.
[[gnu::noinline]] const SpotTable* makeSpotTable(const PBall& style, SpotTableIndex* index, int radius, std::uint32_t mode) {
    if (!hasAllImages(style) || divisionTable == nullptr) return nullptr;
    if (index->markersOf != mode) {
        freeTables(*index);
        findMarkers(*index, style, mode);
    }
    const Source src{style, *index, divisionTable + radius * kTableSide, endMarkerOf(mode), radius};
    SpotRow rows[2 * kLargestSpotRadius + 1];
    const Layout layout = layoutOf(radius, planRows(src, rows), mode == BlendMode::Normal);
    if (!makeRoom(layout.bytes)) return nullptr;
    index->byRadius[radius] = buildTable(src, rows, layout, mode);
    fillLater(src, index->byRadius[radius]);
    index->usedInFrame[radius] = frame;
    heldBytes += layout.bytes;
    return index->byRadius[radius];
}

}  // namespace

const SpotTable* spotTableFor(const PBall& style, int radius) {
    SpotTableIndex* index = style.spotTables;
    if (index == nullptr || radius < 0 || radius > kLargestSpotRadius) return nullptr;
    // Every table of an index is of the blend mode its markers were found for: another mode ends
    // rows at another marker, and a Normal spot keeps only weights.
    const std::uint32_t mode = blendModeOf(style.kind);
    if (index->markersOf == mode && index->byRadius[radius] != nullptr) {
        index->usedInFrame[radius] = frame;
        return index->byRadius[radius];
    }
    return makeSpotTable(style, index, radius, mode);
}

void keepSpotTables(PBall& style) {
    releaseSpotTables(style);
    auto* index = static_cast<SpotTableIndex*>(alloc16(sizeof(SpotTableIndex), 1));
    index->markersOf = kNoBlendMode;
    index->next = indexes;
    if (indexes != nullptr) indexes->previous = index;
    indexes = index;
    style.spotTables = index;
}

void releaseSpotTables(PBall& style) {
    SpotTableIndex* index = style.spotTables;
    if (index == nullptr) return;
    freeTables(*index);
    (index->previous != nullptr ? index->previous->next : indexes) = index->next;
    if (index->next != nullptr) index->next->previous = index->previous;
    freeAligned(index);
    style.spotTables = nullptr;
}

void releaseAllSpotTables() {
    for (SpotTableIndex* index = indexes; index != nullptr; index = index->next) freeTables(*index);
}

void beginSpotTableFrame() {
    // Left by a frame that was placed but never drawn.
    fillDeferredSpotTables();
    ++frame;
}

void deferSpotTableFills() { fillsDeferred = true; }

void fillDeferredSpotTables() {
    fillsDeferred = false;
    if (pendingCount == 0) return;
    int jobs = 0;
    for (int i = 0; i < pendingCount; ++i) {
        pendingTables[i].firstJob = jobs;
        jobs += fillJobsOf(*pendingTables[i].table);
    }
    // The frame's bands follow.
    runBands(jobs, fillJob, nullptr);
    pendingCount = 0;
}

std::size_t spotTableBytes() { return heldBytes; }

void resetSpotTableState() {
    releaseAllSpotTables();
    fillsDeferred = false;
    spotTableBudget = kSpotTableBudget;
}

}  // namespace lw
