// drawParticle: near cut, fog, fade, projected size, and the hand-over to the placement of the
// style's kind.
#include <cstdint>

#include "host/process.h"
#include "psi/cache.h"
#include "raster/frame_buffer.h"
#include "sprites/dispatch.h"
#include "sprites/rounding.h"

namespace lw {

namespace {

constexpr double kOneOver255 = 0.00392156862745098;

void computeDepthCue(const PBall& style, double z) {
    SpriteState& s = spriteState;
    if (fogMode == kFogNone) {
        s.fogFactor = 1.0;
    } else {
        double factor = fogCurve(z) / style.depthCueScale;
        // A zero or negative depthCueScale must not turn into a NaN or a negative cue.
        if (!(factor >= 0.0)) factor = 0.0;
        if (factor > 1.0) factor = 1.0;
        s.fogFactor = factor;
    }
    s.depthCue = addHalfTruncate(s.fogFactor * 255.0);
}

void applyFade() {
    SpriteState& s = spriteState;
    const double g = fadeValue();
    const double faded = static_cast<double>(static_cast<unsigned>(s.alpha)) * (g * 255.0 + 0.5) * kOneOver255;
    // A fade hook may return anything; the routines rely on an alpha of 0..255.
    if (!(faded >= 0.0)) {
        s.alpha = 0;
    } else {
        s.alpha = faded >= 255.0 ? 255 : static_cast<int>(faded);
    }
}

// An inner size keeps at least two quarter pixels inside the size that encloses it.
int innerSize(double ratio, int enclosing) {
    if (ratio == 0.0) return 0;
    const int size = addHalfTruncate(ratio * spriteState.sizeExact);
    if (enclosing - size >= 2) return size;
    return enclosing - 2 < 0 ? 0 : enclosing - 2;
}

void computeSizes(const PBall& style, double projection) {
    SpriteState& s = spriteState;
    s.sizeExact = 400.0 * projection * currentEntry->size * style.sizeScale * viewScale;
    s.size0 = addHalfTruncate(s.sizeExact);
    s.size1 = (s.size0 + 1) >> 1;
    s.size2 = (s.size1 + 1) >> 1;
    const int m = minSpriteSize;
    if (m != 0 && s.size2 < m) {
        s.size2 = m;
        if (s.size1 < 2 * m) s.size1 = 2 * m;
        if (s.size0 < 4 * m) s.size0 = 4 * m;
    }
    // Images are 256 texels wide: a larger radius would read past their rows. size0 and the inner
    // sizes keep their full value, beyond the largest circle mask (1020) for near particles: the
    // disc routines clamp them where they select a mask.
    if (s.size2 >= 256) s.size2 = 255;
    s.innerSize1 = innerSize(style.innerRatio1, s.size0);
    s.innerSize2 = innerSize(style.innerRatio2, s.innerSize1);
}

}  // namespace

int drawParticle(const PBall& style, double x, double y, double z) {
    if (z < nearCut) return depthSort;
    SpriteState& s = spriteState;
    const std::uint32_t mode = blendModeOf(style.kind);
    if (s.tint == 0 && (mode == BlendMode::Add || mode == BlendMode::Subtract)) return 0;
    if (currentEntry == nullptr) fatalError(L"PSI: no particle selected to draw");

    computeDepthCue(style, z);
    if (currentEntry->lifetime != 0) applyFade();
    if (s.depthCue == 0 || s.alpha == 0) return 0;

    const double p = projectionFactor(z);
    const double px = x * p;
    const double py = y * p;
    const double pd = 8.0 * z * p;
    computeSizes(style, p);
    s.styleColour = style.colour;

    switch (spriteKindOf(style.kind)) {
    case SpriteKind::Point:
        placePoint(style, px, py);
        break;
    case SpriteKind::Ball:
    case SpriteKind::Disc:
        placeSprite(style, px, py, pd);
        break;
    case SpriteKind::Spot:
        placeSpot(style, px, py);
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace lw
