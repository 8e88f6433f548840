// Circle masks: precomputed anti-aliased quarter discs, so that the flat disc routines draw an
// edge without any per-pixel distance work. A mask of size s (in quarter pixels of radius) is a
// disc of radius s/4 - 0.4999 pixels centred on the middle of its first pixel; entry (row i,
// column j) is the coverage, 0 outside to 255 inside, of the pixel i rows and j columns away
// from the sprite's centre pixel.
//
// Four sizes share each 32-bit word: block W holds the sizes 4W - 3 .. 4W in bytes (lanes) 0..3,
// as W rows of W words, the centre row and the centre column first. So one table of 256 blocks
// covers the sizes 1 to 1020, and a size is found with shifts and one table read.
//
// Built and released on the worker, between frames; the bands of a frame only read them.
#pragma once

#include <array>
#include <cstdint>

namespace lw {

constexpr int kMaskBlockCount = 256;
constexpr int kLargestMaskSize = 4 * (kMaskBlockCount - 1);  // 1020

// Block W, or null before the build. Blocks 0 (nothing covered) and 1 (one pixel of coverage 63,
// 127, 191, 255 for the sizes 1 to 4) are fixed words and exist from the start.
extern std::array<const std::uint32_t*, kMaskBlockCount> maskBlocks;
extern int masksBuilt;

// How a rasterizer reads one size's mask. The coverage of column j of the current row is
// (row[j] & laneBits) >> laneShift; the next row starts rowStride bytes further on.
struct MaskSelection {
    int lane = 0;
    int laneShift = 0;
    std::uint32_t laneBits = 0;
    std::uint32_t otherLanes = 0;
    std::uint32_t width = 0;  // W: rows, and words per row
    const std::uint32_t* row = nullptr;
    int rowStride = 0;
};

// Builds every block once; does nothing while masksBuilt is set. A failed allocation is a fatal
// error, and the blocks made before it are freed by the next build or release.
void buildCircleMasks();
// Frees the built blocks and clears masksBuilt (so a later scene builds them again rather than
// reading freed memory). Also the module's reset.
void releaseCircleMasks();

// Points a selection at the mask of a size. Sizes above 1020 get the largest mask and sizes below
// 1 the empty block 0, so no size reads outside the table. The masks must be built for sizes
// above 4.
void selectMask(MaskSelection& selection, int size);

// Coverage of column j of the selection's current row.
inline int maskCoverage(const MaskSelection& selection, int column) {
    return static_cast<int>((selection.row[column] & selection.laneBits) >> selection.laneShift);
}

// Computes the masks of the four sizes of one width (4 x width - 3 to 4 x width) into a writable
// block of width x width words. The step of buildCircleMasks, open for tests of a single block.
void buildMaskBlock(std::uint32_t* block, int width);

}  // namespace lw
