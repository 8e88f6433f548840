// The flat disc routines: one row loop over the four mirrored quadrants, instantiated per blend
// family, per coverage (plain disc or ring) and per clipping. The family supplies the colour
// preparation (once per sprite) and the blend of one covered pixel; the coverage supplies the
// mask value of a column; clipping only changes where the loop starts and stops, so the loop
// itself has no bounds test. Each mask byte serves up to four pixels.
#include "sprites/disc_routines.h"

#include <algorithm>
#include <cstdint>

#include "raster/colour.h"
#include "raster/frame_buffer.h"
#include "sprites/circle_masks.h"
#include "sprites/combine.h"
#include "sprites/dispatch.h"
#include "sprites/sprite_window.h"

namespace lw {

namespace {

constexpr Colour kNoTint = 0xFFFFFF;
constexpr Colour kWhite = 0xFFFFFF;
constexpr int kFull = 255;

Colour tintedStyleColour() {
    const SpriteState& s = spriteState;
    return s.tint == kNoTint ? s.styleColour : mulColour(s.styleColour, s.tint);
}

// Add, Subtract and Multiply fold alpha into the fog intensity once per sprite, stored back into
// the depth cue as the other sprite families do.
void combineAlphaIntoDepthCue() {
    SpriteState& s = spriteState;
    s.depthCue = s.alpha * s.depthCue / 255;
}

// Every channel times coverage / 256, top byte 0.
Colour dimmed(Colour c, int coverage) { return mulColour(c, static_cast<Colour>(coverage) * 0x010101u); }

// Add and Subtract differ only in the saturating operation.
template <Colour (*Combine)(Colour, Colour)>
struct AdditiveFamily {
    static constexpr bool kEndsOnZeroWeight = false;
    Colour colour;

    static AdditiveFamily prepare() {
        combineAlphaIntoDepthCue();
        return {scaleByDepthCue(tintedStyleColour())};
    }
    static int weight(int coverage) { return coverage; }
    struct Pen {
        Colour source;
        void operator()(Colour& pixel) const { pixel = Combine(pixel, source); }
    };
    Pen pen(int coverage) const { return {coverage == kFull ? colour : dimmed(colour, coverage)}; }
    void wholePixel(Colour& pixel) const { pixel = Combine(pixel, colour); }
};

Colour addColours(Colour a, Colour b) { return addSat(a, b); }
Colour subtractColours(Colour a, Colour b) { return subSat(a, b); }
using AddFamily = AdditiveFamily<addColours>;
using SubtractFamily = AdditiveFamily<subtractColours>;

// White leaves a multiplied pixel unchanged, so fog and partial coverage both fade towards it.
struct MultiplyFamily {
    static constexpr bool kEndsOnZeroWeight = false;
    Colour colour;

    static MultiplyFamily prepare() {
        combineAlphaIntoDepthCue();
        Colour c = tintedStyleColour();
        const int depthCue = spriteState.depthCue;
        if (depthCue != kFull) c = lerpColour(kWhite, c, static_cast<unsigned>(depthCue));
        return {c};
    }
    static int weight(int coverage) { return coverage; }
    struct Pen {
        Colour source;
        void operator()(Colour& pixel) const { pixel = mulColour(pixel, source); }
    };
    Pen pen(int coverage) const {
        return {coverage == kFull ? colour : lerpColour(kWhite, colour, static_cast<unsigned>(coverage))};
    }
    void wholePixel(Colour& pixel) const { multiplyPixel(pixel, colour); }
};

// Fog fades the colour towards the background once per sprite; alpha weights each pixel with its
// coverage. A fully weighted pixel takes the prepared word whole, its top byte included.
struct NormalFamily {
    static constexpr bool kEndsOnZeroWeight = true;
    Colour colour;
    int alpha;

    static NormalFamily prepare() {
        const SpriteState& s = spriteState;
        Colour c = tintedStyleColour();
        if (s.depthCue != kFull) c = lerpColour(backgroundColour, c, static_cast<unsigned>(s.depthCue));
        return {c, s.alpha};
    }
    int weight(int coverage) const { return alpha == kFull ? coverage : coverage * alpha / 255; }
    struct Pen {
        Colour colour;
        int weight;
        void operator()(Colour& pixel) const {
            pixel = weight == kFull ? colour : lerpColour(pixel, colour, static_cast<unsigned>(weight));
        }
    };
    Pen pen(int weight) const { return {colour, weight}; }
    void wholePixel(Colour& pixel) const {
        pixel = alpha == kFull ? colour : lerpColour(pixel, colour, static_cast<unsigned>(alpha));
    }
};

// Points a selection at mask row i; the caller keeps i below the mask's width.
void moveToRow(MaskSelection& mask, int i) { mask.row = maskBlocks[mask.width] + i * static_cast<int>(mask.width); }

struct PlainCoverage {
    static constexpr bool kHasHoles = false;
    void startRow(int i) { moveToRow(outerMask, i); }
    static int value(int, int outer) { return outer; }
};

// outer - hole + core. Nested sizes keep it within 0..255: a mask never covers a pixel more than
// a larger one does.
struct RingCoverage {
    static constexpr bool kHasHoles = true;
    int holeLimit = 0;  // columns below it read the hole in this row; 0 once the hole has ended
    int coreLimit = 0;

    RingCoverage() {
        const SpriteState& s = spriteState;
        // Held nested, so a state that breaks the dispatch's nesting cannot push it out of range.
        const int hole = std::min(s.innerSize1, s.size0);
        selectMask(holeMask, hole);
        selectMask(coreMask, std::min(s.innerSize2, hole));
    }
    void startRow(int i) {
        moveToRow(outerMask, i);
        holeLimit = enterRow(holeMask, i);
        coreLimit = enterRow(coreMask, i);
    }
    int value(int j, int outer) const {
        int v = outer;
        if (j < holeLimit) v -= maskCoverage(holeMask, j);
        if (j < coreLimit) v += maskCoverage(coreMask, j);
        return v;
    }

private:
    static int enterRow(MaskSelection& mask, int i) {
        const int width = static_cast<int>(mask.width);
        if (i >= width) return 0;
        moveToRow(mask, i);
        return width;
    }
};

// Holds the window to the outer mask, whose width is the dispatch's radius + 1: a larger radius
// has nothing more to draw, and a window that would start past its own end (a box off the view,
// which placeSprite rejects) draws nothing. False when nothing is left to draw; otherwise every
// row and column the loop reaches lies inside the mask.
bool fitToMask(QuadrantWindow& w) {
    const int last = static_cast<int>(outerMask.width) - 1;
    w.rowsAbove = std::min(w.rowsAbove, last);
    w.rowsBelow = std::min(w.rowsBelow, last);
    w.leftLimit = std::min(w.leftLimit, last);
    w.rightLimit = std::min(w.rightLimit, last);
    if (w.upper && w.firstRow > w.rowsAbove) return false;
    if (w.lower && w.firstRow > w.rowsBelow) return false;
    if (w.left && w.firstColumn > w.leftLimit) return false;
    if (w.right && w.firstColumn > w.rightLimit) return false;
    return w.upper || w.lower;
}

// The centre pixel index of the current row in the upper and lower half, and whether each
// quadrant (upper left, upper right, lower left, lower right) still draws in it. Indexes rather
// than pointers, because a clipped centre lies off the view.
struct RowQuadrants {
    int upper = 0;
    int lower = 0;
    bool on[4] = {false, false, false, false};

    bool anyOn() const { return on[0] || on[1] || on[2] || on[3]; }
};

// Whether the whole sprite's row would have ended in a column the clip skips. A plain disc's
// coverage never rises away from the centre, so only a ring's faint inner edge can end a Normal
// row early; without this test a clipped ring would show the part of such a row beyond the hole.
template <class Family, class Coverage>
bool endsBeforeView(const Family& family, const Coverage& coverage, int firstColumn) {
    if constexpr (Family::kEndsOnZeroWeight && Coverage::kHasHoles) {
        for (int j = 0; j < firstColumn; ++j) {
            const int outer = maskCoverage(outerMask, j);
            if (outer == 0) return false;
            const int v = coverage.value(j, outer);
            if (v != 0 && family.weight(v) == 0) return true;
        }
    }
    (void)family;
    (void)coverage;
    (void)firstColumn;
    return false;
}

template <class Family, class Coverage>
void drawColumns(const Family& family, const Coverage& coverage, const QuadrantWindow& w, RowQuadrants& q) {
    for (int j = w.firstColumn;; ++j) {
        const int outer = maskCoverage(outerMask, j);
        if (outer == 0) return;
        const int v = coverage.value(j, outer);
        // Inside a ring's hole nothing is blended, but the quadrants still count their columns.
        const bool covered = !Coverage::kHasHoles || v != 0;
        typename Family::Pen pen{};
        if (covered) {
            const int weight = family.weight(v);
            if constexpr (Family::kEndsOnZeroWeight) {
                if (weight == 0) return;
            }
            pen = family.pen(weight);
        }
        if (q.on[0]) {
            if (covered) pen(pixels[q.upper - j]);
            q.on[0] = j != w.leftLimit;
        }
        if (q.on[2]) {
            if (covered) pen(pixels[q.lower - j]);
            q.on[2] = j != w.leftLimit;
        }
        if (j != 0) {
            if (q.on[1]) {
                if (covered) pen(pixels[q.upper + j]);
                q.on[1] = j != w.rightLimit;
            }
            if (q.on[3]) {
                if (covered) pen(pixels[q.lower + j]);
                q.on[3] = j != w.rightLimit;
            }
        } else {
            // The centre column belongs to the left half.
            q.on[1] = q.on[1] && w.rightLimit != 0;
            q.on[3] = q.on[3] && w.rightLimit != 0;
        }
        if (!q.anyOn()) return;
    }
}

// The centre row belongs to the upper half.
template <class Family, class Coverage>
void drawRows(const Family& family, Coverage& coverage, QuadrantWindow w) {
    const SpriteState& s = spriteState;
    for (int i = w.firstRow;; ++i) {
        RowQuadrants q;
        if (w.upper) {
            q.upper = rowTable[s.centreY - i] + s.centreX;
            q.on[0] = w.left;
            q.on[1] = w.right;
            w.upper = i != w.rowsAbove;
        }
        if (w.lower) {
            if (i != 0) {
                q.lower = rowTable[s.centreY + i] + s.centreX;
                q.on[2] = w.left;
                q.on[3] = w.right;
            }
            w.lower = i != w.rowsBelow;
        }
        coverage.startRow(i);
        if (!endsBeforeView(family, coverage, w.firstColumn)) drawColumns(family, coverage, w, q);
        if (!w.upper && !w.lower) return;
    }
}

template <class Family, class Coverage, bool Clipped>
void drawMasked(const Family& family) {
    QuadrantWindow w = Clipped ? clippedQuadrantWindow() : wholeQuadrantWindow();
    // A release since the style's set-up has freed the masks; build them again before reading.
    buildCircleMasks();
    selectMask(outerMask, spriteState.size0);
    if (!fitToMask(w)) return;
    Coverage coverage;
    drawRows(family, coverage, w);
}

bool hasInnerSizes() { return spriteState.innerSize1 != 0 || spriteState.innerSize2 != 0; }

// A clipped routine is never handed a one-pixel sprite: such a box is inside the view or rejected.
template <class Family, bool Clipped, bool Ring>
void drawDisc() {
    const Family family = Family::prepare();
    if (!Clipped && spriteState.radius == 0) {
        // One pixel takes the whole colour, without the coverage of the sizes 1 to 4.
        const SpriteState& s = spriteState;
        family.wholePixel(pixels[rowTable[s.centreY] + s.centreX]);
        return;
    }
    if (Ring || hasInnerSizes()) {
        drawMasked<Family, RingCoverage, Clipped>(family);
    } else {
        drawMasked<Family, PlainCoverage, Clipped>(family);
    }
}

}  // namespace

void discNormalClipped() { drawDisc<NormalFamily, true, false>(); }
void discNormalUnclipped() { drawDisc<NormalFamily, false, false>(); }
void discAddClipped() { drawDisc<AddFamily, true, false>(); }
void discAddUnclipped() { drawDisc<AddFamily, false, false>(); }
void discSubtractClipped() { drawDisc<SubtractFamily, true, false>(); }
void discSubtractUnclipped() { drawDisc<SubtractFamily, false, false>(); }
void discMultiplyClipped() { drawDisc<MultiplyFamily, true, false>(); }
void discMultiplyUnclipped() { drawDisc<MultiplyFamily, false, false>(); }

void ringNormalClipped() { drawDisc<NormalFamily, true, true>(); }
void ringNormalUnclipped() { drawDisc<NormalFamily, false, true>(); }
void ringAddClipped() { drawDisc<AddFamily, true, true>(); }
void ringAddUnclipped() { drawDisc<AddFamily, false, true>(); }
void ringSubtractClipped() { drawDisc<SubtractFamily, true, true>(); }
void ringSubtractUnclipped() { drawDisc<SubtractFamily, false, true>(); }
void ringMultiplyClipped() { drawDisc<MultiplyFamily, true, true>(); }
void ringMultiplyUnclipped() { drawDisc<MultiplyFamily, false, true>(); }

}  // namespace lw
