// drawParticle: near cut, fog, fade, projected size, and the hand-over to the placement of the
// style's kind; and the projection and fog curves, here so that they are compiled into it.
#include <cstdint>

#include "host/process.h"
#include "psi/cache.h"
#include "raster/frame_buffer.h"
#include "sprites/dispatch.h"
#include "sprites/rounding.h"

namespace lw {

namespace {

constexpr double kOneOver255 = 0.00392156862745098;

// 1 at d = 0 falling smoothly to 0 at d = fogRange.
double smoothFog(double d) {
    const double c = fogRange - d;
    if (c < 0.0) return 0.0;
    const double t = (c / fogRange) * 0.5;
    return t * t * (6.0 - 4.0 * t);
}

}  // namespace

double projectionFactor(double z) {
    if (z <= magnificationLimit) return maxMagnification;
    return projectionDepth / (projectionDepth - z);
}

double fogCurve(double z) {
    const double d = z - fogNear;
    if (d <= 0.0) return 1.0;
    switch (fogMode) {
    case kFogSmooth:
        return smoothFog(d);
    case kFogSmoothSquared: {
        const double s = smoothFog(d);
        return s * s;
    }
    default:
        return d > fogRange ? 0.0 : 1.0 - d / fogRange;
    }
}

namespace {

int depthCueOf(const PBall& style, double z) {
    double factor = 1.0;
    if (fogMode != kFogNone) {
        // A division by 1 changes nothing, and most styles have that scale: spare its latency.
        factor = style.depthCueScale == 1.0 ? fogCurve(z) : fogCurve(z) / style.depthCueScale;
        // A zero or negative depthCueScale must not turn into a NaN or a negative cue.
        if (!(factor >= 0.0)) factor = 0.0;
        if (factor > 1.0) factor = 1.0;
    }
    return addHalfTruncate(factor * 255.0);
}

int fadedAlpha(int alpha, const ParticleLook& look) {
    const double g = fadeValue(look.fadeCurve, look.fadeHook);
    const double faded = static_cast<double>(static_cast<unsigned>(alpha)) * (g * 255.0 + 0.5) * kOneOver255;
    // A fade hook may return anything; the routines rely on an alpha of 0..255.
    if (!(faded >= 0.0)) return 0;
    return faded >= 255.0 ? 255 : static_cast<int>(faded);
}

// An inner size keeps at least two quarter pixels inside the size that encloses it.
int innerSize(double ratio, double sizeExact, int enclosing) {
    if (ratio == 0.0) return 0;
    const int size = addHalfTruncate(ratio * sizeExact);
    if (enclosing - size >= 2) return size;
    return enclosing - 2 < 0 ? 0 : enclosing - 2;
}

void computeSizes(const PBall& style, double projection, SpriteRecord& s) {
    const double sizeExact = 400.0 * projection * currentEntry->size * style.sizeScale * viewScale;
    s.size0 = addHalfTruncate(sizeExact);
    int size1 = (s.size0 + 1) >> 1;
    s.size2 = (size1 + 1) >> 1;
    const int m = minSpriteSize;
    if (m != 0 && s.size2 < m) {
        s.size2 = m;
        if (size1 < 2 * m) size1 = 2 * m;
        if (s.size0 < 4 * m) s.size0 = 4 * m;
    }
    // Images are 256 texels wide: a larger radius would read past their rows. size0 and the inner
    // sizes keep their full value, beyond the largest circle mask (1020) for near particles: the
    // disc routines clamp them where they select a mask.
    if (s.size2 >= 256) s.size2 = 255;
    s.innerSize1 = innerSize(style.innerRatio1, sizeExact, s.size0);
    s.innerSize2 = innerSize(style.innerRatio2, sizeExact, s.innerSize1);
}

}  // namespace

int drawParticle(const PBall& style, double x, double y, double z, const ParticleLook& look) {
    if (z < nearCut) return depthSort;
    const std::uint32_t mode = blendModeOf(style.kind);
    if (look.tint == 0 && (mode == BlendMode::Add || mode == BlendMode::Subtract)) return 0;
    if (currentEntry == nullptr) fatalError(L"PSI: no particle selected to draw");

    SpriteRecord s;
    s.tint = look.tint;
    s.alpha = look.alpha;
    s.depthCue = depthCueOf(style, z);
    if (currentEntry->lifetime != 0) s.alpha = fadedAlpha(s.alpha, look);
    if (s.depthCue == 0 || s.alpha == 0) return 0;

    const double p = projectionFactor(z);
    const double vx = x * p * viewScale + look.centreOffsetX;
    const double vy = y * p * viewScale + look.centreOffsetY;
    const double pd = 8.0 * z * p;
    computeSizes(style, p, s);
    s.styleColour = style.colour;

    switch (spriteKindOf(style.kind)) {
    case SpriteKind::Point:
        placePoint(style, s, vx, vy);
        break;
    case SpriteKind::Ball:
    case SpriteKind::Disc:
        placeSprite(style, s, vx, vy, pd);
        break;
    case SpriteKind::Spot:
        placeSpot(style, s, vx, vy);
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace lw
