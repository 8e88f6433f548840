#include "sprites/disc_routines.h"

#include <algorithm>
#include <type_traits>

#include "sprites/blends.h"
#include "sprites/circle_masks.h"
#include "sprites/span_walk.h"

namespace lw {

namespace {

constexpr int kFull = 255;

// Points a selection at mask row i; the caller keeps i below the mask's width.
void moveToRow(MaskSelection& mask, int i) { mask.row = maskBlocks[mask.width] + i * static_cast<int>(mask.width); }

// The coverage of a row: the outer mask, or with a ring outer - hole + core. Nested sizes keep a
// ring within 0..255: a mask never covers a pixel more than a larger one does.
class DiscCoverage {
public:
    explicit DiscCoverage(const SpriteRecord& s) : ring_(s.innerSize1 != 0 || s.innerSize2 != 0) {
        selectMask(outer_, s.size0);
        if (!ring_) return;
        // Held nested, so a record that breaks the placement's nesting cannot push it out of range.
        const int hole = std::min(s.innerSize1, s.size0);
        selectMask(hole_, hole);
        selectMask(core_, std::min(s.innerSize2, hole));
    }
    bool ring() const { return ring_; }
    int width() const { return static_cast<int>(outer_.width); }
    void beginRow(int i) {
        moveToRow(outer_, i);
        if (!ring_) return;
        holeLimit_ = enterRow(hole_, i);
        coreLimit_ = enterRow(core_, i);
    }
    int outer(int j) const { return maskCoverage(outer_, j); }
    int at(int j) const {
        int v = outer(j);
        if (j < holeLimit_) v -= maskCoverage(hole_, j);
        if (j < coreLimit_) v += maskCoverage(core_, j);
        return v;
    }

private:
    // Columns below the returned limit read the mask in this row; 0 once the mask has ended.
    static int enterRow(MaskSelection& mask, int i) {
        const int width = static_cast<int>(mask.width);
        if (i >= width) return 0;
        moveToRow(mask, i);
        return width;
    }

    bool ring_;
    MaskSelection outer_;
    MaskSelection hole_;
    MaskSelection core_;
    int holeLimit_ = 0;
    int coreLimit_ = 0;
};

// Normal weights the colour by coverage x alpha, and a weight of 0 ends the row; the other
// blends dim by coverage alone, alpha being folded into their intensity. Inside a ring's hole
// (coverage 0) nothing is blended, but the row goes on.
template <class Blend>
class DiscSpans {
public:
    static constexpr bool kNormal = std::is_same_v<Blend, NormalBlend>;

    DiscSpans(const SpriteRecord& s, Colour background)
        : coverage_(s), paint_(paintOf<Blend>(s, background)), colour_(s.styleColour),
          last_(std::min(s.radius, coverage_.width() - 1)), alpha_(s.alpha) {
        if constexpr (kNormal) {
            colour_ = foggedColour(s, background);
            paint_ = Paint{kNoTint, 255, 255, background, false};
        }
    }
    int lastDistance() const { return last_; }
    void beginRow(int dy) {
        coverage_.beginRow(dy);
        end_ = last_ + 1;
        for (int dx = 0; dx <= last_; ++dx) {
            if (coverage_.outer(dx) == 0 || (kNormal && endsRow(coverage_.at(dx)))) {
                end_ = dx;
                return;
            }
        }
    }
    int spanEnd(int) const { return end_; }
    void paintSpan(const DrawTarget& t, int quadrant, int centre, int from, int to) const {
        const int step = (quadrant & 1) != 0 ? 1 : -1;
        for (int dx = from; dx <= to; ++dx) {
            const int v = coverage_.ring() ? coverage_.at(dx) : coverage_.outer(dx);
            if (v == 0) continue;
            Blend::blend(paint_, t.pixels[centre + step * dx], colour_, wholeAt255(weight(v)));
        }
    }

private:
    int weight(int v) const { return !kNormal || alpha_ == kFull ? v : v * alpha_ / 255; }
    bool endsRow(int v) const { return v != 0 && weight(v) == 0; }

    DiscCoverage coverage_;
    Paint paint_;
    Colour colour_;
    int last_;
    int alpha_;
    int end_ = 0;
};

template <class Blend, bool ClipColumns>
void drawDisc(const SpriteRecord& s, const DrawTarget& t) {
    if (s.radius == 0) {
        // One pixel takes the whole colour, without the coverage of the sizes 1 to 4.
        if (!t.holds(s.centreX, s.centreY)) return;
        Colour& pixel = t.pixels[t.rows[s.centreY] + s.centreX];
        if constexpr (std::is_same_v<Blend, NormalBlend>) {
            Paint p{kNoTint, s.alpha, 255, t.background, false};
            NormalBlend::blend(p, pixel, foggedColour(s, t.background), kWholeCoverage);
        } else {
            Blend::blend(paintOf<Blend>(s, t.background), pixel, s.styleColour, kWholeCoverage);
        }
        return;
    }
    DiscSpans<Blend> spans(s, t.background);
    walkSpans<ClipColumns>(spans, s, t);
}

}  // namespace

void discNormalClipped(const SpriteRecord& s, const DrawTarget& t) { drawDisc<NormalBlend, true>(s, t); }
void discNormalUnclipped(const SpriteRecord& s, const DrawTarget& t) { drawDisc<NormalBlend, false>(s, t); }
void discAddClipped(const SpriteRecord& s, const DrawTarget& t) { drawDisc<AddBlend, true>(s, t); }
void discAddUnclipped(const SpriteRecord& s, const DrawTarget& t) { drawDisc<AddBlend, false>(s, t); }
void discSubtractClipped(const SpriteRecord& s, const DrawTarget& t) { drawDisc<SubtractBlend, true>(s, t); }
void discSubtractUnclipped(const SpriteRecord& s, const DrawTarget& t) { drawDisc<SubtractBlend, false>(s, t); }
void discMultiplyClipped(const SpriteRecord& s, const DrawTarget& t) { drawDisc<MultiplyBlend, true>(s, t); }
void discMultiplyUnclipped(const SpriteRecord& s, const DrawTarget& t) { drawDisc<MultiplyBlend, false>(s, t); }

}  // namespace lw
