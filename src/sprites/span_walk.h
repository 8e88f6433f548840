// The one row walk of the round and square sprites. A sprite is four mirrored quadrants around
// its centre pixel: upper left, upper right, lower left, lower right. The centre row belongs to
// the upper half and the centre column to the left half, so every pixel has exactly one quadrant.
// Each quadrant draws, in each row distance dy, one span of column distances starting at the
// centre column (1 for the right quadrants) and ending where the family says; the walk cuts the
// span to the target's rectangle and hands it to the family. Cutting never changes which pixels
// the span would hold, so a sprite drawn in pieces (bands, view edges) draws exactly the pixels
// of the whole sprite.
//
// A family provides:
//   int lastDistance() const            no row or column distance beyond it is drawn
//   void beginRow(int dy)               per row distance, before its spans
//   int spanEnd(int quadrant) const     one past the last column distance of the row's span
//   void paintSpan(const DrawTarget&, int quadrant, int centreIndex, int from, int to)
//                                       draws column distances from..to (to >= from), at pixel
//                                       index centreIndex - dx (left) or centreIndex + dx (right)
#pragma once

#include <algorithm>
#include <cstdint>

#include "raster/draw_target.h"
#include "sprites/sprite_record.h"
#include "sprites/style.h"

namespace lw {

namespace spanDetail {

// ClipColumns false: the caller knows the sprite's box lies within the target's columns.
template <bool ClipColumns, class Family>
void walkRow(Family& family, const DrawTarget& t, int firstQuadrant, int centreIndex, int centreX) {
    const int left = firstQuadrant;
    const int leftTo = std::min(family.spanEnd(left) - 1, ClipColumns ? centreX - t.left : family.lastDistance());
    const int leftFrom = ClipColumns ? std::max(0, centreX - t.right) : 0;
    if (leftFrom <= leftTo) family.paintSpan(t, left, centreIndex, leftFrom, leftTo);
    const int right = firstQuadrant + 1;
    const int rightTo = std::min(family.spanEnd(right) - 1, ClipColumns ? t.right - centreX : family.lastDistance());
    const int rightFrom = ClipColumns ? std::max(1, t.left - centreX) : 1;
    if (rightFrom <= rightTo) family.paintSpan(t, right, centreIndex, rightFrom, rightTo);
}

}  // namespace spanDetail

template <bool ClipColumns, class Family>
void walkSpans(Family& family, const SpriteRecord& s, const DrawTarget& t) {
    const int last = family.lastDistance();
    const int cx = s.centreX;
    const int cy = s.centreY;
    // Upper half: row cy - dy for dy = 0..last; lower half: row cy + dy for dy = 1..last.
    const int upperTo = std::min(last, cy - t.top);
    for (int dy = std::max(0, cy - t.bottom); dy <= upperTo; ++dy) {
        family.beginRow(dy);
        spanDetail::walkRow<ClipColumns>(family, t, 0, t.rows[cy - dy] + cx, cx);
    }
    const int lowerTo = std::min(last, t.bottom - cy);
    for (int dy = std::max(1, t.top - cy); dy <= lowerTo; ++dy) {
        family.beginRow(dy);
        spanDetail::walkRow<ClipColumns>(family, t, 2, t.rows[cy + dy] + cx, cx);
    }
}

// The texels of one row distance of an image sprite, read from the style's four images through
// the division row. Addressed in bytes: the images are 1024-byte aligned.
class TexelRows {
public:
    explicit TexelRows(const SpriteRecord& s) : division_(s.divisionRow) {
        for (int q = 0; q < 4; ++q) base_[q] = reinterpret_cast<const unsigned char*>(s.images[q]);
    }
    void beginRow(int dy) {
        // A division entry is 4 x the image row, and an image row is 4 x kImageSide bytes.
        const int rowOffset = division_[dy] * kImageSide;
        for (int q = 0; q < 4; ++q) row_[q] = base_[q] + rowOffset;
    }
    Colour at(int quadrant, int dx) const { return *reinterpret_cast<const Colour*>(row_[quadrant] + division_[dx]); }

private:
    const unsigned char* base_[4] = {};
    const unsigned char* row_[4] = {};
    const std::int32_t* division_;
};

}  // namespace lw
