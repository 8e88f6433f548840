#include "sprites/textured_disc_routines.h"

#include "raster/colour.h"
#include "raster/frame_buffer.h"
#include "sprites/combine.h"
#include "sprites/quadrant_walk.h"
#include "sprites/sprite_state.h"

namespace lw {

namespace {

// Normal applies alpha itself, per pixel, against the old pixel; the others dim the whole
// sprite with alpha and fog together, toward their neutral colour.
struct NormalFamily {
    static constexpr bool kFoldsAlpha = false;
    static void combine(Colour& pixel, Colour texel) { normalTexel(pixel, texel); }
};
struct AddFamily {
    static constexpr bool kFoldsAlpha = true;
    static void combine(Colour& pixel, Colour texel) { addTexel(pixel, texel); }
};
struct SubtractFamily {
    static constexpr bool kFoldsAlpha = true;
    static void combine(Colour& pixel, Colour texel) { subtractTexel(pixel, texel); }
};
struct MultiplyFamily {
    static constexpr bool kFoldsAlpha = true;
    static void combine(Colour& pixel, Colour texel) { multiplyTexel(pixel, texel); }
};

// Steps of 32 over the last eight scaled height units inside the outline give the soft edge;
// a two-pixel-wide disc is too small for one and is drawn whole.
constexpr int kFullEdgeQuotient = 8;
constexpr int kEdgeStep = 256 / kFullEdgeQuotient;

int edgeCoverage(int edgeHeight, int shade) {
    if (shade == 0 || shade == 1) return 255;
    const int q = edgeHeight / shade;
    return q >= kFullEdgeQuotient ? 255 : q * kEdgeStep;
}

// The combine operations read the pixel's coverage from spriteState, so it is set per column.
template <class Family>
class DiscPainter {
public:
    DiscPainter() : frame_(pixels), size2_(spriteState.size2), tiny_(spriteState.tinyBall != 0) {}

    bool beginColumn(const SphereEntry& e) {
        if (e.height == 0) return false;
        if (tiny_) {
            spriteState.coverage = 255;
            return true;
        }
        const int edgeHeight = (size2_ * e.height) >> 8;
        if (edgeHeight == 0) return false;
        spriteState.coverage = edgeCoverage(edgeHeight, e.shade);
        return true;
    }
    void paint(int index, Colour texel) { Family::combine(frame_[index], texel); }

private:
    Colour* frame_;
    int size2_;
    bool tiny_;
};

template <class Family, bool Clipped>
void drawTexturedDisc() {
    requireQuadrantInputs(L"PSI: textured disc drawn without its images or sprite tables");
    SpriteState& s = spriteState;
    if (Family::kFoldsAlpha) s.depthCue = s.alpha * s.depthCue / 255;
    // One pixel: the centre texel, whole, whatever the sphere table's height at the centre.
    if (!Clipped && s.radius == 0) {
        s.coverage = 255;
        Family::combine(pixels[rowTable[s.centreY] + s.centreX], s.images[0][0]);
        return;
    }
    DiscPainter<Family> painter;
    walkQuadrants(painter, Clipped ? clippedQuadrantWindow() : wholeQuadrantWindow());
}

}  // namespace

void texturedNormalClipped() { drawTexturedDisc<NormalFamily, true>(); }
void texturedNormalUnclipped() { drawTexturedDisc<NormalFamily, false>(); }
void texturedAddClipped() { drawTexturedDisc<AddFamily, true>(); }
void texturedAddUnclipped() { drawTexturedDisc<AddFamily, false>(); }
void texturedSubtractClipped() { drawTexturedDisc<SubtractFamily, true>(); }
void texturedSubtractUnclipped() { drawTexturedDisc<SubtractFamily, false>(); }
void texturedMultiplyClipped() { drawTexturedDisc<MultiplyFamily, true>(); }
void texturedMultiplyUnclipped() { drawTexturedDisc<MultiplyFamily, false>(); }

}  // namespace lw
