#include "sprites/sphere_routines.h"

#include "sprites/blends.h"
#include "sprites/span_walk.h"
#include "sprites/sprite_tables.h"

namespace lw {

namespace {

// A two-pixel-wide ball has no room for a soft rim: its depth difference is never held small.
constexpr int kTinyBallLowLimit = -777;
// Scaled depth units in front of the old pixel from which a ball pixel covers it wholly.
constexpr int kOpaqueDepth = 8;
constexpr int kSeamStep = 256 / kOpaqueDepth;
// Steps of 32 over the last eight scaled height units inside the outline give a disc's soft
// edge; a two-pixel-wide disc is too small for one and is drawn whole.
constexpr int kFullEdgeQuotient = 8;
constexpr int kEdgeStep = 256 / kFullEdgeQuotient;

int edgeCoverage(int edgeHeight, int shade) {
    if (shade == 0 || shade == 1) return kWholeCoverage;
    const int q = edgeHeight / shade;
    return q >= kFullEdgeQuotient ? kWholeCoverage : q * kEdgeStep;
}

// The sphere's front lies nearer than its centre by the scaled height; the shade divisor shrinks
// the depth difference toward the rim, where it then falls below kOpaqueDepth. Depths stay within
// what the placement holds them to (about +-2^28) or the clear value, so nothing overflows.
struct BallInk {
    static constexpr bool kTestsDepth = true;
    static void put(const Paint& p, const SpriteRecord& s, Colour& pixel, std::int32_t& depthCell, Colour texel,
                    const SphereEntry& e, int offset) {
        const int plotDepth = s.depth - offset;
        int d = plotDepth - depthCell;
        const int lowLimit = s.tinyBall != 0 ? kTinyBallLowLimit : -offset;
        if (d < lowLimit) d = lowLimit;
        const int divisor = s.tinyBall != 0 ? 0 : e.shade;
        if (divisor != 0 && divisor != 1) d /= divisor;
        if (d >= 0) return;
        const int nearer = -d;
        NormalBlend::blend(p, pixel, texel, nearer >= kOpaqueDepth ? kWholeCoverage : nearer * kSeamStep);
        depthCell = plotDepth;
    }
};

template <class Blend>
struct DiscInk {
    static constexpr bool kTestsDepth = false;
    static void put(const Paint& p, const SpriteRecord& s, Colour& pixel, std::int32_t&, Colour texel,
                    const SphereEntry& e, int edgeHeight) {
        Blend::blend(p, pixel, texel, s.tinyBall != 0 ? kWholeCoverage : edgeCoverage(edgeHeight, e.shade));
    }
};

// The outline is the same in all four quadrants: a row ends at the first column whose sphere
// entry has no height, or (except for a tiny disc) whose height scaled to the sprite is 0.
template <class Ink, class Blend>
class SphereSpans {
public:
    SphereSpans(const SpriteRecord& s, Colour background)
        : s_(s), texels_(s), paint_(paintOf<Blend>(s, background)), heightMatters_(Ink::kTestsDepth || s.tinyBall == 0) {}
    int lastDistance() const { return s_.radius; }
    void beginRow(int dy) {
        texels_.beginRow(dy);
        sphereRow_ = sphereTable + (s_.divisionRow[dy] >> 2) * kTableSide;
        end_ = s_.radius + 1;
        for (int dx = 0; dx <= s_.radius; ++dx) {
            const SphereEntry& e = entry(dx);
            if (e.height == 0 || (heightMatters_ && scaled(e) == 0)) {
                end_ = dx;
                break;
            }
        }
    }
    int spanEnd(int) const { return end_; }
    void paintSpan(const DrawTarget& t, int quadrant, int centre, int from, int to) const {
        const int step = (quadrant & 1) != 0 ? 1 : -1;
        for (int dx = from; dx <= to; ++dx) {
            const int index = centre + step * dx;
            const SphereEntry& e = entry(dx);
            std::int32_t unused = 0;
            std::int32_t& depthCell = Ink::kTestsDepth ? t.depth[index] : unused;
            Ink::put(paint_, s_, t.pixels[index], depthCell, texels_.at(quadrant, dx), e, scaled(e));
        }
    }

private:
    const SphereEntry& entry(int dx) const { return sphereRow_[s_.divisionRow[dx] >> 2]; }
    int scaled(const SphereEntry& e) const { return (s_.size2 * e.height) >> 8; }

    const SpriteRecord& s_;
    TexelRows texels_;
    Paint paint_;
    bool heightMatters_;
    const SphereEntry* sphereRow_ = nullptr;
    int end_ = 0;
};

template <bool ClipColumns>
void drawBall(const SpriteRecord& s, const DrawTarget& t) {
    SphereSpans<BallInk, NormalBlend> spans(s, t.background);
    walkSpans<ClipColumns>(spans, s, t);
}

template <class Blend, bool ClipColumns>
void drawTexturedDisc(const SpriteRecord& s, const DrawTarget& t) {
    // One pixel: the centre texel, whole, whatever the sphere table's height at the centre.
    if (s.radius == 0) {
        if (!t.holds(s.centreX, s.centreY)) return;
        Blend::blend(paintOf<Blend>(s, t.background), t.pixels[t.rows[s.centreY] + s.centreX], s.images[0][0],
                     kWholeCoverage);
        return;
    }
    SphereSpans<DiscInk<Blend>, Blend> spans(s, t.background);
    walkSpans<ClipColumns>(spans, s, t);
}

}  // namespace

void ballClipped(const SpriteRecord& s, const DrawTarget& t) { drawBall<true>(s, t); }
void ballUnclipped(const SpriteRecord& s, const DrawTarget& t) { drawBall<false>(s, t); }

void texturedNormalClipped(const SpriteRecord& s, const DrawTarget& t) { drawTexturedDisc<NormalBlend, true>(s, t); }
void texturedNormalUnclipped(const SpriteRecord& s, const DrawTarget& t) { drawTexturedDisc<NormalBlend, false>(s, t); }
void texturedAddClipped(const SpriteRecord& s, const DrawTarget& t) { drawTexturedDisc<AddBlend, true>(s, t); }
void texturedAddUnclipped(const SpriteRecord& s, const DrawTarget& t) { drawTexturedDisc<AddBlend, false>(s, t); }
void texturedSubtractClipped(const SpriteRecord& s, const DrawTarget& t) { drawTexturedDisc<SubtractBlend, true>(s, t); }
void texturedSubtractUnclipped(const SpriteRecord& s, const DrawTarget& t) {
    drawTexturedDisc<SubtractBlend, false>(s, t);
}
void texturedMultiplyClipped(const SpriteRecord& s, const DrawTarget& t) { drawTexturedDisc<MultiplyBlend, true>(s, t); }
void texturedMultiplyUnclipped(const SpriteRecord& s, const DrawTarget& t) {
    drawTexturedDisc<MultiplyBlend, false>(s, t);
}

}  // namespace lw
