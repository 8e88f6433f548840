// The spot routines: one row loop over the four mirrored quadrants, instantiated per blend family
// and per clipping. The family supplies the colour preparation (once per sprite), the row end
// marker and the blend of one texel into one pixel; clipping only changes where the loop starts
// and stops, so the loop itself has no bounds test.
#include <cstdint>

#include "host/process.h"
#include "raster/colour.h"
#include "raster/frame_buffer.h"
#include "sprites/dispatch.h"
#include "sprites/sprite_window.h"
#include "sprites/gathered_texels.h"
#include "sprites/spot_routines.h"

namespace lw {

namespace {

using Texel = std::uint32_t;
constexpr Colour kNoTint = 0xFFFFFF;
constexpr int kImageRowBytes = 1024;
constexpr int kDivisionToRowBytes = kImageRowBytes / 4;  // a division entry is 4 x the image index

// The intensity of a whole Add, Subtract or Multiply spot: alpha and depth cue in one factor,
// stored back into the depth cue as the other sprite families do.
int combinedIntensity() {
    SpriteState& s = spriteState;
    s.depthCue = s.alpha * s.depthCue / 255;
    return s.depthCue;
}

// Add and Subtract share their source: the texel, tinted, scaled by the intensity.
struct ScaledTexel {
    Colour tint;
    Colour scale;  // the intensity in every channel, or kNoTint for full intensity

    static ScaledTexel prepare() {
        const int k = combinedIntensity();
        const Colour kk = static_cast<Colour>(k) * 0x010101u;
        return {spriteState.tint, k == 255 ? kNoTint : kk};
    }
    Colour operator()(Texel t) const {
        Colour source = t;
        if (tint != kNoTint) source = mulColour(source, tint);
        if (scale != kNoTint) source = mulColour(source, scale);
        return source;
    }
};

struct AddBlend {
    static constexpr Texel kEndMarker = 0;
    ScaledTexel source;
    static AddBlend prepare() { return {ScaledTexel::prepare()}; }
    void operator()(Colour& pixel, Texel t) const { pixel = addSat(pixel, source(t)); }
};

struct SubtractBlend {
    static constexpr Texel kEndMarker = 0;
    ScaledTexel source;
    static SubtractBlend prepare() { return {ScaledTexel::prepare()}; }
    void operator()(Colour& pixel, Texel t) const { pixel = subSat(pixel, source(t)); }
};

// White is neutral in a multiply, so both the tint's grey levels and the fade run towards it.
struct MultiplyBlend {
    static constexpr Texel kEndMarker = 0x00FFFFFF;
    Colour tint;
    int intensity;
    static MultiplyBlend prepare() { return {spriteState.tint, combinedIntensity()}; }
    void operator()(Colour& pixel, Texel t) const {
        Colour source = tint == kNoTint ? t : lerpColour(tint, 0xFFFFFF, t & 0xFFu);
        if (intensity != 255) source = lerpColour(0xFFFFFF, source, static_cast<unsigned>(intensity));
        pixel = mulColour(pixel, source);
    }
};

// The texel's blue byte weights the colour; the depth cue is folded into the colour, the alpha
// is applied per pixel.
struct NormalBlend {
    static constexpr Texel kEndMarker = 0;
    Colour spotColour;
    unsigned alpha;
    static NormalBlend prepare() {
        const SpriteState& s = spriteState;
        Colour c = s.styleColour;
        if (s.tint != kNoTint) c = mulColour(c, s.tint);
        if (s.depthCue != 255) c = lerpColour(backgroundColour, c, static_cast<unsigned>(s.depthCue));
        return {c, static_cast<unsigned>(s.alpha)};
    }
    void operator()(Colour& pixel, Texel t) const {
        const unsigned weight = t & 0xFFu;
        if (alpha == 255) {
            pixel = lerpColour(pixel, spotColour, weight);
        } else {
            pixel = lerpColour(pixel, lerpColour(pixel, spotColour, alpha), weight);
        }
    }
};

// One quadrant of the current row: its texel row (null once it stops) and the index of the
// row's centre pixel, an index rather than a pointer because a clipped centre lies off the view.
struct Quadrant {
    const unsigned char* texels = nullptr;
    int centrePixel = 0;
};

// Runs one quadrant of the current row outward from column `from` to `limit`, stopping at its
// end marker. `step` is -1 for the left quadrants and +1 for the right ones. The quadrants of a
// row are independent, so each gets its own tight loop.
template <class Blend>
inline void drawQuadrantRow(const Blend& blend, const Quadrant& q, const std::int32_t* columns, int from, int limit,
                            int step) {
    if (q.texels == nullptr) return;
    for (int j = from; j <= limit; ++j) {
        const Texel t = *reinterpret_cast<const Texel*>(q.texels + columns[j]);
        if (t == Blend::kEndMarker) return;
        blend(pixels[q.centrePixel + step * j], t);
    }
}

// The centre column belongs to the left half; the right quadrants start one column out.
template <class Blend>
void drawColumns(const Blend& blend, const QuadrantWindow& w, Quadrant (&q)[4], const std::int32_t* columns) {
    const int rightFrom = w.firstColumn > 1 ? w.firstColumn : 1;
    drawQuadrantRow(blend, q[0], columns, w.firstColumn, w.leftLimit, -1);
    drawQuadrantRow(blend, q[2], columns, w.firstColumn, w.leftLimit, -1);
    drawQuadrantRow(blend, q[1], columns, rightFrom, w.rightLimit, 1);
    drawQuadrantRow(blend, q[3], columns, rightFrom, w.rightLimit, 1);
}

// Where a sprite's texels are read: the style's images through the division table, or, for a
// small sprite of a style that has them, its gathered texels (the same values, side by side).
struct TexelSource {
    const unsigned char* quadrants[4];
    const std::int32_t* rows;     // null: gathered rows of `rowBytes` bytes each
    const std::int32_t* columns;  // byte offset of each column distance
    int rowBytes;

    static TexelSource of(const SpriteState& s) {
        TexelSource source{};
        if (s.gatheredTexels != nullptr && s.radius <= kGatheredRadius) {
            for (int n = 0; n < 4; ++n) {
                source.quadrants[n] = reinterpret_cast<const unsigned char*>(
                    s.gatheredTexels + n * kGatheredPerQuadrant + gatheredRadiusStart(s.radius));
            }
            source.columns = gatheredColumnOffsets;
            source.rowBytes = (s.radius + 1) * 4;
            return source;
        }
        for (int n = 0; n < 4; ++n) source.quadrants[n] = reinterpret_cast<const unsigned char*>(s.images[n]);
        source.rows = s.divisionRow;
        source.columns = s.divisionRow;
        return source;
    }
    int rowOffset(int i) const { return rows != nullptr ? rows[i] * kDivisionToRowBytes : i * rowBytes; }
};

// True when the texel row holds its end marker in a column the clip skips: such a quadrant has
// ended before the view's edge, exactly as it would end in the whole sprite. Without this test a
// texture with a dark gap inside a row would show the part beyond the gap only while its sprite
// crosses the left or right edge of the view.
template <class Blend>
bool endsBeforeView(const unsigned char* texels, const std::int32_t* columns, int fromColumn, int firstColumn) {
    for (int j = fromColumn; j < firstColumn; ++j) {
        if (*reinterpret_cast<const Texel*>(texels + columns[j]) == Blend::kEndMarker) return true;
    }
    return false;
}

// Quadrant order as the images: upper left, upper right, lower left, lower right. The centre
// row belongs to the upper half.
template <class Blend>
void drawRows(const Blend& blend, QuadrantWindow w) {
    const SpriteState& s = spriteState;
    const TexelSource source = TexelSource::of(s);
    for (int i = w.firstRow;; ++i) {
        const int rowOffset = source.rowOffset(i);
        Quadrant q[4];
        const auto start = [&](int n, bool on, int centrePixel) {
            q[n].centrePixel = centrePixel;
            if (!on) return;
            const unsigned char* texels = source.quadrants[n] + rowOffset;
            // The right quadrants take no part in the centre column, not even with their marker.
            const int fromColumn = (n & 1) != 0 ? 1 : 0;
            if (endsBeforeView<Blend>(texels, source.columns, fromColumn, w.firstColumn)) return;
            q[n].texels = texels;
        };
        if (w.upper) {
            const int row = rowTable[s.centreY - i] + s.centreX;
            start(0, w.left, row);
            start(1, w.right, row);
            w.upper = i != w.rowsAbove;
        }
        if (w.lower) {
            if (i != 0) {
                const int row = rowTable[s.centreY + i] + s.centreX;
                start(2, w.left, row);
                start(3, w.right, row);
            }
            w.lower = i != w.rowsBelow;
        }
        drawColumns(blend, w, q, source.columns);
        if (!w.upper && !w.lower) return;
    }
}

// Checked once per sprite: a spot style always has its four images, but a missing division
// table or image must end the program clearly rather than through a stray read.
void requireSpotInputs() {
    const SpriteState& s = spriteState;
    if (s.divisionRow == nullptr || s.images[0] == nullptr || s.images[1] == nullptr || s.images[2] == nullptr ||
        s.images[3] == nullptr) {
        fatalError(L"PSI: spot drawn without its images or division table");
    }
}

template <class Blend, bool Clipped>
void drawSpot() {
    requireSpotInputs();
    const Blend blend = Blend::prepare();
    drawRows(blend, Clipped ? clippedQuadrantWindow() : wholeQuadrantWindow());
}

}  // namespace

void spotAddClipped() { drawSpot<AddBlend, true>(); }
void spotAddUnclipped() { drawSpot<AddBlend, false>(); }
void spotSubtractClipped() { drawSpot<SubtractBlend, true>(); }
void spotSubtractUnclipped() { drawSpot<SubtractBlend, false>(); }
void spotMultiplyClipped() { drawSpot<MultiplyBlend, true>(); }
void spotMultiplyUnclipped() { drawSpot<MultiplyBlend, false>(); }
void spotNormalClipped() { drawSpot<NormalBlend, true>(); }
void spotNormalUnclipped() { drawSpot<NormalBlend, false>(); }

}  // namespace lw
