#include "sprites/circle_masks.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "host/memory.h"

namespace lw {

namespace {

const std::uint32_t kEmptyWord = 0;
// The sizes 1 to 4 cover one pixel partly, lane by lane; they are not computed.
const std::uint32_t kOnePixelWord = 0xFFBF7F3Fu;

std::array<const std::uint32_t*, kMaskBlockCount> fixedBlocksOnly() {
    std::array<const std::uint32_t*, kMaskBlockCount> blocks{};
    blocks[0] = &kEmptyWord;
    blocks[1] = &kOnePixelWord;
    return blocks;
}

int widthOf(int size) { return (size + 3) >> 2; }
int laneOf(int size) { return (size - 1) & 3; }

// The disc of one size, with its corner test. Pixel corners sit on the integer lattice, the
// disc's centre on the middle of pixel (0, 0), i.e. at (0.5, 0.5).
struct Disc {
    double radiusSquared;

    explicit Disc(int size) {
        const double r = widthOf(size) - (3 - laneOf(size)) * 0.25 - 0.4999;
        radiusSquared = r * r;
    }
    static double squaredOffset(double coordinate) {
        const double d = coordinate - 0.5;
        return d * d;
    }
    bool inside(double x, double y) const { return squaredOffset(x) + squaredOffset(y) < radiusSquared; }
};

// For every corner row Y (0..W), how many corners X = 0, 1, ... lie inside. (X - 0.5)^2 never
// falls as X grows, nor as Y grows, so the inside corners of a row are a prefix of it, no longer
// than the row above's: corner (X, Y) is inside exactly when X < count[Y].
std::vector<int> insideCornerCounts(const Disc& disc, int width) {
    std::vector<int> counts(static_cast<std::size_t>(width) + 1);
    int count = width + 1;
    for (int y = 0; y <= width; ++y) {
        while (count > 0 && !disc.inside(count - 1, y)) --count;
        counts[static_cast<std::size_t>(y)] = count;
    }
    return counts;
}

// A pixel whose two diagonal corners disagree: 16 x the inside samples of a 4 x 4 grid, minus 1.
// The corners of the grid are the pixel's corners, whose flags are known; the vertical offset
// 0.667 is reached as 0.333 + 0.334, while the horizontal one is the constant 0.667.
int sampledCoverage(const Disc& disc, int x, int y, const std::vector<int>& counts) {
    const int above = counts[static_cast<std::size_t>(y) - 1];
    const int below = counts[static_cast<std::size_t>(y)];
    int count = (x - 1 < above) + (x < above) + (x - 1 < below) + (x < below);

    const double left = x - 1;
    const double top = y - 1;
    const double xs[4] = {left, left + 0.333, left + 0.667, static_cast<double>(x)};
    const double upperThird = top + 0.333;
    const double ys[4] = {top, upperThird, upperThird + 0.334, static_cast<double>(y)};
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b) {
            const bool corner = (a == 0 || a == 3) && (b == 0 || b == 3);
            if (!corner) count += disc.inside(xs[b], ys[a]);
        }
    }
    return 16 * count - 1;
}

// Along mask row y - 1 of one size the pixels run fully inside, then across the edge (the only
// ones that are sampled), then fully outside. Pixel x (column x - 1) is full while corner x of
// row y is inside, and on the edge up to corner x - 1 of row y - 1 being inside.
struct RowRuns {
    int fullEnd;  // columns before it are full
    int edgeEnd;  // columns from it on are empty
};

RowRuns runsOf(const std::vector<int>& counts, int y, int width) {
    const int below = counts[static_cast<std::size_t>(y)];
    const int above = counts[static_cast<std::size_t>(y) - 1];
    return {below > 0 ? below - 1 : 0, above < width ? above : width};
}

}  // namespace

std::array<const std::uint32_t*, kMaskBlockCount> maskBlocks = fixedBlocksOnly();
int masksBuilt = 0;

// Each word is written once, with its four lanes together: the runs where all four sizes are
// full or all are empty are plain fills, and only the band between them is worked lane by lane.
void buildMaskBlock(std::uint32_t* block, int width) {
    const int firstSize = 4 * width - 3;
    const Disc discs[4] = {Disc(firstSize), Disc(firstSize + 1), Disc(firstSize + 2), Disc(firstSize + 3)};
    std::vector<int> counts[4];
    for (int lane = 0; lane < 4; ++lane) counts[lane] = insideCornerCounts(discs[lane], width);

    std::uint32_t* row = block;
    for (int y = 1; y <= width; ++y, row += width) {
        RowRuns runs[4];
        int bandStart = width;
        int bandEnd = 0;
        for (int lane = 0; lane < 4; ++lane) {
            runs[lane] = runsOf(counts[lane], y, width);
            bandStart = std::min(bandStart, runs[lane].fullEnd);
            bandEnd = std::max(bandEnd, runs[lane].edgeEnd);
        }
        std::memset(row, 0xFF, 4 * static_cast<std::size_t>(bandStart));
        for (int column = bandStart; column < bandEnd; ++column) {
            std::uint32_t word = 0;
            for (int lane = 0; lane < 4; ++lane) {
                int coverage = 0;
                if (column < runs[lane].fullEnd) {
                    coverage = 255;
                } else if (column < runs[lane].edgeEnd) {
                    coverage = sampledCoverage(discs[lane], column + 1, y, counts[lane]);
                }
                word |= static_cast<std::uint32_t>(coverage) << (8 * lane);
            }
            row[column] = word;
        }
        std::memset(row + bandEnd, 0, 4 * static_cast<std::size_t>(width - bandEnd));
    }
}

void buildCircleMasks() {
    if (masksBuilt) return;
    // Blocks left by a build that ran out of memory are made again.
    releaseCircleMasks();
    for (int width = 2; width < kMaskBlockCount; ++width) {
        const std::size_t bytes = 4 * static_cast<std::size_t>(width) * static_cast<std::size_t>(width);
        // Not cleared: the build writes every word.
        auto* block = static_cast<std::uint32_t*>(alloc16(bytes, 0));
        maskBlocks[static_cast<std::size_t>(width)] = block;
        buildMaskBlock(block, width);
    }
    masksBuilt = 1;
}

void releaseCircleMasks() {
    for (int width = 2; width < kMaskBlockCount; ++width) {
        auto& block = maskBlocks[static_cast<std::size_t>(width)];
        // Only the blocks from width 2 on are heap blocks, allocated writable by the build.
        freeAligned(const_cast<std::uint32_t*>(block));
        block = nullptr;
    }
    masksBuilt = 0;
}

void selectMask(MaskSelection& selection, int size) {
    if (size > kLargestMaskSize) size = kLargestMaskSize;
    if (size < 0) size = 0;
    selection.lane = laneOf(size);
    selection.laneShift = 8 * selection.lane;
    selection.laneBits = 0xFFu << selection.laneShift;
    selection.otherLanes = ~selection.laneBits;
    selection.width = static_cast<std::uint32_t>(widthOf(size));
    selection.row = maskBlocks[selection.width];
    selection.rowStride = 4 * static_cast<int>(selection.width);
}

}  // namespace lw
