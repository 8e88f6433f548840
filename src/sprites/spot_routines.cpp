#include "sprites/spot_routines.h"

#include <algorithm>
#include <type_traits>

#include "sprites/blends.h"
#include "sprites/span_blends.h"
#include "sprites/span_walk.h"
#include "sprites/spot_tables.h"

namespace lw {

namespace {

// Which texel ends a quadrant's row, and how a texel meets the blend: as the source colour, or
// (Normal) as the weight of the spot's colour.
// White is neutral in a multiply, so the empty parts of its images are white.
template <class Blend>
struct SpotInk {
    static constexpr Colour kEndMarker = std::is_same_v<Blend, MultiplyBlend> ? 0x00FFFFFFu : 0u;
    static void put(const Paint& p, Colour& pixel, Colour texel, Colour) { Blend::blend(p, pixel, texel, kWholeCoverage); }
};
template <>
struct SpotInk<NormalBlend> {
    static constexpr Colour kEndMarker = 0;
    static void put(const Paint& p, Colour& pixel, Colour texel, Colour colour) {
        NormalBlend::blend(p, pixel, colour, static_cast<int>(texel & 0xFFu));
    }
};

// How a spot's texels meet the blend, the same from the images and from a table.
template <class Blend>
struct SpotPaint {
    Paint paint;
    Colour colour = 0;  // Normal: the colour the texels weight

    SpotPaint(const SpriteRecord& s, Colour background) : paint(paintOf<Blend>(s, background)) {
        if constexpr (std::is_same_v<Blend, MultiplyBlend>) paint.greyTint = true;
        if constexpr (std::is_same_v<Blend, NormalBlend>) {
            // Tint and fog are folded into the colour once; the blend then only mixes by alpha.
            colour = foggedColour(s, background);
            paint.tint = kNoTint;
            paint.intensity = 255;
        }
    }
};

// The walk over the images: the reference, and the way of sprites without a table.
template <class Blend>
class SpotSpans {
public:
    SpotSpans(const SpriteRecord& s, Colour background) : texels_(s), radius_(s.radius) {
        const SpotPaint<Blend> p(s, background);
        paint_ = p.paint;
        colour_ = p.colour;
    }
    int lastDistance() const { return radius_; }
    void beginRow(int dy) { texels_.beginRow(dy); }
    // The right quadrants take no part in the centre column, not even with their marker.
    int spanEnd(int quadrant) const {
        for (int dx = quadrant & 1; dx <= radius_; ++dx) {
            if (texels_.at(quadrant, dx) == SpotInk<Blend>::kEndMarker) return dx;
        }
        return radius_ + 1;
    }
    void paintSpan(const DrawTarget& t, int quadrant, int centre, int from, int to) const {
        const int step = (quadrant & 1) != 0 ? 1 : -1;
        for (int dx = from; dx <= to; ++dx) {
            SpotInk<Blend>::put(paint_, t.pixels[centre + step * dx], texels_.at(quadrant, dx), colour_);
        }
    }

private:
    TexelRows texels_;
    Paint paint_;
    Colour colour_ = 0;
    int radius_;
};

// A Normal spot's ink whose opacity the rows' loops know.
template <bool kOpaque>
struct KnownOpacityInk {
    using Texel = WeightInk::Texel;
    const WeightInk& ink;
    void blend(Colour& pixel, Texel weight) const { ink.blend(pixel, weight); }
#if defined(__SSE2__)
    __m128i blend4(__m128i pixels, const Texel* weights) const { return ink.blend4Of<kOpaque>(pixels, weights); }
#endif
};

// One span per row, cut to the target; the table's texels of a row lie in pixel order. The
// sprite's and target's fields are copied first: the blends store through pointers that may
// alias anything, which would otherwise reload them for every row.
template <class Ink>
void drawTableRows(const Ink& ink, const typename Ink::Texel* texels, const SpriteRecord& s, const DrawTarget& t) {
    const SpotTable& table = *s.spotTable;
    const int r = table.radius;
    const int top = std::max(s.centreY - r + table.firstRow, t.top);
    const int bottom = std::min(s.centreY - r + table.lastRow, t.bottom);
    const SpotRow* row = table.rows + (top - s.centreY + r);
    const SpotRow* const end = row + std::max(bottom - top + 1, 0);
    const int* rowStart = t.rows + top;
    Colour* const pixels = t.pixels;
    const int centreX = s.centreX;
    // The rows lie within centreX - r .. centreX + r. With three columns more to the right inside
    // the clip (bands cut only rows, so nearly always) no row is cut and every row's last chunk of
    // four stays in the clip; the table is padded for the texels of that chunk.
    if (centreX - r >= t.left && centreX + r + 3 <= t.right) {
        for (; row != end; ++row, ++rowStart) {
            const int count = row->leftEnd + row->rightEnd - 1;
            if (count > 0) blendPaddedSpan(ink, pixels + *rowStart + centreX + 1 - row->leftEnd, texels + row->firstTexel, count);
        }
        return;
    }
    for (; row != end; ++row, ++rowStart) {
        const int start = centreX + 1 - row->leftEnd;
        const int from = std::max(start, t.left);
        const int to = std::min(centreX + row->rightEnd - 1, t.right);
        if (from <= to) blendSpan(ink, pixels + *rowStart + from, texels + row->firstTexel + (from - start), to - from + 1);
    }
}

template <class Blend>
void drawFromTable(const SpriteRecord& s, const DrawTarget& t) {
    const SpotPaint<Blend> p(s, t.background);
    if constexpr (std::is_same_v<Blend, NormalBlend>) {
        const WeightInk ink(p.paint.alpha, p.colour);
        if (ink.opaque()) {
            drawTableRows(KnownOpacityInk<true>{ink}, s.spotTable->weights, s, t);
        } else {
            drawTableRows(KnownOpacityInk<false>{ink}, s.spotTable->weights, s, t);
        }
    } else {
        drawTableRows(TexelInk<Blend>{p.paint}, s.spotTable->texels, s, t);
    }
}

template <class Blend, bool ClipColumns>
void drawSpot(const SpriteRecord& s, const DrawTarget& t) {
    if (s.spotTable != nullptr) {
        drawFromTable<Blend>(s, t);
        return;
    }
    SpotSpans<Blend> spans(s, t.background);
    walkSpans<ClipColumns>(spans, s, t);
}

}  // namespace

void spotAddClipped(const SpriteRecord& s, const DrawTarget& t) { drawSpot<AddBlend, true>(s, t); }
void spotAddUnclipped(const SpriteRecord& s, const DrawTarget& t) { drawSpot<AddBlend, false>(s, t); }
void spotSubtractClipped(const SpriteRecord& s, const DrawTarget& t) { drawSpot<SubtractBlend, true>(s, t); }
void spotSubtractUnclipped(const SpriteRecord& s, const DrawTarget& t) { drawSpot<SubtractBlend, false>(s, t); }
void spotMultiplyClipped(const SpriteRecord& s, const DrawTarget& t) { drawSpot<MultiplyBlend, true>(s, t); }
void spotMultiplyUnclipped(const SpriteRecord& s, const DrawTarget& t) { drawSpot<MultiplyBlend, false>(s, t); }
void spotNormalClipped(const SpriteRecord& s, const DrawTarget& t) { drawSpot<NormalBlend, true>(s, t); }
void spotNormalUnclipped(const SpriteRecord& s, const DrawTarget& t) { drawSpot<NormalBlend, false>(s, t); }

}  // namespace lw
