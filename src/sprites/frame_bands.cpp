#include "sprites/frame_bands.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "host/memory.h"
#include "overlay/screen_image.h"
#include "raster/depth_buffer.h"
#include "raster/frame_buffer.h"
#include "raster/small_frame.h"
#include "sprites/band_pool.h"
#include "sprites/sprite_list.h"
#include "sprites/spot_tables.h"
#include "sprites/styles.h"

namespace lw {

namespace {

// Pixels of one band (256 KB of frame, as much again of depth cells): with the scene's benchmark
// (scripts/bench --band-rows N) the frame times at 1920 and 3840 pixels wide were lowest for bands
// of about 32 and 16 rows, 1280 cared little, and one band for the whole 4K frame took half as
// long again.
constexpr int kBandPixels = 65536;
constexpr int kFewestBandRows = 4;

int fixedBandRows = 0;

// Which records meet which band: the record indexes of band b, in list order, are
// entries[start[b]] .. entries[start[b + 1] - 1]. Kept between frames, grown as needed.
struct BandTable {
    int* start = nullptr;
    int startCapacity = 0;
    int* entries = nullptr;
    int entryCapacity = 0;
    int* spans = nullptr;  // per record its first and last band, found once per frame
    int spanCapacity = 0;
};
BandTable table;

// The old block goes before the new one is asked for, so that a failed allocation leaves nothing
// freed behind for the release to free again.
template <class T, class Count>
void grow(T*& block, Count& capacity, Count wanted) {
    if (wanted <= capacity) return;
    const Count grown = std::max(wanted, 2 * capacity);
    freeAligned(block);
    block = nullptr;
    capacity = 0;
    block = static_cast<T*>(alloc16(sizeof(T) * static_cast<std::size_t>(grown), 0));
    capacity = grown;
}

// Where the bands draw when the window is all that reads their rows: straight into the window
// where the host allows it (through a row table of the window), else for each drawing thread one
// band of frame rows, which stays in that thread's cache from the clear to the copy, and a row
// table for it. The frame itself is then not written: one clear and one copy of it (or both
// copies) less to and from memory each frame.
struct BandScratch {
    Colour* pixels = nullptr;
    std::size_t pixelCapacity = 0;
    std::size_t pixelsPerThread = 0;
    int* rows = nullptr;  // a view-sized row table per thread, of which each band fills its own rows
    std::size_t rowCapacity = 0;
    std::size_t rowsPerThread = 0;
    int* windowRows = nullptr;
    std::size_t windowRowCapacity = 0;
};
BandScratch scratch;

struct BandPass {
    DrawTarget view;
    int rows = 0;  // cut into bands: view rows, or with expandMargin the full frame's rows
    int rowsPerBand = 1;
    int bandCount = 0;
    bool sprites = false;  // clear the band and draw its records
    bool depth = false;    // clear the band's depth cells too
    bool images = false;   // the frame's screen images over it
    int expandMargin = -1;  // >= 0: the band doubles full-frame rows; view rows lie this much lower
    bool toWindow = false;  // the band copies its finished rows to the window
    bool inScratch = false;  // ... drawn in the scratch rows instead of the frame
    bool inWindow = false;   // drawn straight into the window instead of the frame: nothing to copy
};

// Most sprites are small, and their records and tables come from memory: each record is asked
// for a few sprites ahead, and its table when the record has arrived, so both are there by its
// turn.
constexpr int kFetchAhead = 4;

// WebAssembly has no prefetch, and clang drops __builtin_prefetch there: a load whose value
// nothing waits for brings the line all the same (in the page, about a tenth off the bands).
void fetchLine(const void* line) {
#if defined(__wasm__)
    (void)*static_cast<const volatile char*>(line);
#elif defined(__GNUC__)
    __builtin_prefetch(line);
#else
    (void)line;
#endif
}

void fetchRecord(const SpriteRecord& s) {
    fetchLine(&s);
    fetchLine(reinterpret_cast<const char*>(&s) + sizeof s - 1);
}

// The table's first lines: its rows, and for the small sprites that most are, its texels. Read
// from the record alone, so that nothing waits for the table itself.
void fetchTable(const SpriteRecord& s) {
    const auto* table = reinterpret_cast<const char*>(s.spotTable);
    if (table != nullptr) {
        fetchLine(table);
        fetchLine(table + 64);
        fetchLine(table + 128);
    }
}

int bandCountOf(int rows, int rowsPerBand) { return (rows + rowsPerBand - 1) / rowsPerBand; }

BandPass passOver(int rows, int width) {
    BandPass pass;
    pass.rows = rows;
    pass.rowsPerBand = std::max(bandRowsFor(width), bandCountOf(rows, kMaxBands));
    pass.bandCount = bandCountOf(rows, pass.rowsPerBand);
    return pass;
}

// row / rowsPerBand by a multiplication: two divisions a record were a tenth of the sort. With
// m = floor(2^32 / d) + 1, (n m) >> 32 is n / d while n d < 2^32; rows and band heights are far
// below 2^16. Rows below 0 count as band 0, as they do in the sort.
class BandOfRow {
public:
    explicit BandOfRow(int rowsPerBand) : multiplier_((std::uint64_t{1} << 32) / static_cast<std::uint32_t>(rowsPerBand) + 1) {}
    int operator()(int row) const {
        return static_cast<int>((static_cast<std::uint64_t>(std::max(row, 0)) * multiplier_) >> 32);
    }

private:
    std::uint64_t multiplier_;
};

// A counting sort by band keeps each band's records in list order.
void sortIntoBands(const BandPass& pass) {
    grow(table.start, table.startCapacity, pass.bandCount + 1);
    std::fill(table.start, table.start + pass.bandCount + 1, 0);
    const SpriteRows* rows = spriteList.rows;
    const int last = pass.view.bottom;
    grow(table.spans, table.spanCapacity, 2 * std::max(spriteList.count, 1));
    int* spans = table.spans;
    int total = 0;
    const BandOfRow bandOf(pass.rowsPerBand);
    for (int i = 0; i < spriteList.count; ++i) {
        spans[2 * i] = bandOf(std::max(rows[i].first, 0));
        spans[2 * i + 1] = bandOf(std::min(rows[i].last, last));
        for (int b = spans[2 * i]; b <= spans[2 * i + 1]; ++b) ++table.start[b + 1];
        total += spans[2 * i + 1] - spans[2 * i] + 1;
    }
    for (int b = 0; b < pass.bandCount; ++b) table.start[b + 1] += table.start[b];
    grow(table.entries, table.entryCapacity, std::max(total, 1));
    // start[b] runs ahead while filling and ends where start[b + 1] began.
    for (int i = 0; i < spriteList.count; ++i) {
        for (int b = spans[2 * i]; b <= spans[2 * i + 1]; ++b) table.entries[table.start[b]++] = i;
    }
    for (int b = pass.bandCount; b > 0; --b) table.start[b] = table.start[b - 1];
    table.start[0] = 0;
}

// Room for a band of the pass on every drawing thread; made before the host is asked whether
// the bands copy, since a failed allocation ends the program.
void makeScratchFor(const BandPass& pass) {
    const auto threads = static_cast<std::size_t>(bandPoolThreads());
    scratch.pixelsPerThread = static_cast<std::size_t>(pass.rowsPerBand) * static_cast<std::size_t>(frameWidth);
    scratch.rowsPerThread = static_cast<std::size_t>(pass.rows);
    grow(scratch.pixels, scratch.pixelCapacity, threads * scratch.pixelsPerThread);
    grow(scratch.rows, scratch.rowCapacity, threads * scratch.rowsPerThread);
    grow(scratch.windowRows, scratch.windowRowCapacity, scratch.rowsPerThread);
}

// Points the pass's view at the window, where the host lets the bands draw there.
bool aimAtWindow(BandPass& pass) {
    int stride = 0;
    Colour* const window = frameInWindow(stride);
    if (window == nullptr) return false;
    for (int y = 0; y < pass.rows; ++y) scratch.windowRows[y] = (y + marginY) * stride + marginX;
    pass.view.pixels = window;
    pass.view.rows = scratch.windowRows;
    return true;
}

// The view rows first..last of t, moved into this thread's scratch rows: laid out as in the
// frame (bottom-up, frameWidth apart), so that the copy to the window reads them the same way.
DrawTarget scratchTarget(DrawTarget t, int first, int last) {
    const auto thread = static_cast<std::size_t>(bandThreadIndex());
    int* rows = scratch.rows + thread * scratch.rowsPerThread;
    for (int y = first; y <= last; ++y) rows[y] = frameWidth * (last - y) + marginX;
    t.pixels = scratch.pixels + thread * scratch.pixelsPerThread;
    t.rows = rows;
    return t;
}

void drawBand(const void* context, int band) {
    const BandPass& pass = *static_cast<const BandPass*>(context);
    const int first = band * pass.rowsPerBand;
    const int last = std::min(first + pass.rowsPerBand, pass.rows) - 1;
    DrawTarget t = pass.inScratch ? scratchTarget(pass.view, first, last) : pass.view;
    t.top = first;
    t.bottom = last;
    if (pass.expandMargin >= 0) {
        expandSmallFrameRows(first, last);
        t.top = std::max(first - pass.expandMargin, pass.view.top);
        t.bottom = std::min(last - pass.expandMargin, pass.view.bottom);
        if (t.top > t.bottom) return;
    }
    if (pass.sprites) {
        clearTargetRows(t);
        if (pass.depth) clearDepthRows(t);
        const int end = table.start[band + 1];
        for (int i = table.start[band]; i < end; ++i) {
            if (i + 2 * kFetchAhead < end) fetchRecord(spriteList.records[table.entries[i + 2 * kFetchAhead]]);
            if (i + kFetchAhead < end) fetchTable(spriteList.records[table.entries[i + kFetchAhead]]);
            const SpriteRecord& s = spriteList.records[table.entries[i]];
            s.draw(s, t);
        }
    }
    if (pass.images) drawFrameScreenImages(t);
    if (pass.inScratch) {
        copyBandToWindow(t.pixels, first, last);
    } else if (pass.toWindow && !pass.inWindow) {
        const int toFrame = pass.expandMargin >= 0 ? 0 : marginY;
        copyRowsToWindow(first + toFrame, last + toFrame);
    }
}

// Only ball styles test and write depth. Without one, nothing reads the depth buffer, and its
// clear would be work for nobody; a ball style made later is there before its first frame is
// drawn, so that frame clears the buffer first.
bool depthTestedStyleExists() {
    for (const PBall* style : styleTable) {
        if (style != nullptr && spriteKindOf(style->kind) == SpriteKind::Ball) return true;
    }
    return false;
}

void putScreenImages() {
    clearFrameScreenImages();
    if (overlayHook != nullptr) overlayHook();
}

}  // namespace

void setBandRows(int rows) { fixedBandRows = rows > 0 ? rows : 0; }

int bandRowsFor(int viewWidthInPixels) {
    if (fixedBandRows > 0) return fixedBandRows;
    return std::max(kFewestBandRows, kBandPixels / std::max(viewWidthInPixels, 1));
}

namespace {

// With present, the bands copy their rows to the window where the host lets them; it is asked only
// once nothing before the bands can end the frame any more (an allocation, an overlay), since a
// host that said yes leaves the window to the bands until the frame is presented. Returns whether
// the bands copied.
bool drawBands(bool present) {
    fillDeferredSpotTables();
    const bool small = smallFrameActive != 0;
    BandPass sprites = passOver(viewHeight, viewWidth);
    sprites.view = viewTarget();
    sprites.sprites = true;
    sprites.depth = depthTestedStyleExists();
    sortIntoBands(sprites);
    if (!small) {
        putScreenImages();
        sprites.images = true;
        const bool scratchable = present && pixels != nullptr && !sprites.depth;
        if (scratchable) makeScratchFor(sprites);
        const platform::RowCopies copies = present && pixels != nullptr ? windowRowCopies() : platform::RowCopies::Off;
        sprites.toWindow = copies != platform::RowCopies::Off;
        if (scratchable && copies == platform::RowCopies::WindowOnly) {
            sprites.inWindow = aimAtWindow(sprites);
            sprites.inScratch = !sprites.inWindow;
        }
        if (pixels != nullptr) runBands(sprites.bandCount, drawBand, &sprites);
        return sprites.toWindow;
    }
    if (pixels != nullptr) runBands(sprites.bandCount, drawBand, &sprites);
    leaveSmallFrame();
    putScreenImages();
    // The whole frame is doubled, margins included; the screen images keep to the viewport.
    BandPass full = passOver(frameHeight, frameWidth);
    full.view = viewTarget();
    full.images = true;
    full.expandMargin = marginY;
    full.toWindow = present && pixels != nullptr && windowRowCopies() != platform::RowCopies::Off;
    if (pixels != nullptr) runBands(full.bandCount, drawBand, &full);
    return full.toWindow;
}

}  // namespace

void drawFrameBands() { drawBands(false); }

void drawAndPresentFrame() {
    if (drawBands(true)) {
        presentCopiedFrame();
    } else {
        presentFrame();
    }
}

void releaseFrameBands() {
    freeAligned(table.start);
    freeAligned(table.entries);
    freeAligned(table.spans);
    table = BandTable{};
    freeAligned(scratch.pixels);
    freeAligned(scratch.rows);
    freeAligned(scratch.windowRows);
    scratch = BandScratch{};
}

}  // namespace lw
