#include "sprites/ball_routines.h"

#include "host/process.h"
#include "raster/depth_buffer.h"
#include "raster/frame_buffer.h"
#include "sprites/quadrant_walk.h"
#include "sprites/sprite_state.h"

namespace lw {

int plotDepth = 0;

namespace {

constexpr Colour kNoTint = 0xFFFFFF;
// A two-pixel-wide ball has no room for a soft rim: its depth difference is never held small.
constexpr int kTinyBallLowLimit = -777;
// Scaled depth units in front of the old pixel from which a ball pixel covers it wholly.
constexpr int kOpaqueDepth = 8;
constexpr int kSeamStep = 256 / kOpaqueDepth;

struct BallLook {
    int alpha;
    Colour tint;
    int depthCue;
    Colour background;
};

struct BallDepth {
    int plotDepth;
    int lowLimit;
    int divisor;
};

BallLook currentLook() {
    const SpriteState& s = spriteState;
    return {s.alpha, s.tint, s.depthCue, backgroundColour};
}

// Depths stay within what the placement holds them to (about +-2^28) or the clear value, so the
// difference cannot overflow.
inline void blendBallPixel(const BallLook& look, const BallDepth& at, Colour& pixel, std::int32_t& depthCell,
                           Colour texel) {
    int d = at.plotDepth - depthCell;
    if (d < at.lowLimit) d = at.lowLimit;
    if (at.divisor != 0 && at.divisor != 1) d /= at.divisor;
    if (d >= 0) return;
    const int nearer = -d;
    Colour c = texel;
    if (look.alpha != 255) c = lerpColour(pixel, c, static_cast<unsigned>(look.alpha));
    if (look.tint != kNoTint) c = mulColour(c, look.tint);
    if (look.depthCue != 255) c = lerpColour(look.background, c, static_cast<unsigned>(look.depthCue));
    pixel = nearer >= kOpaqueDepth ? c : lerpColour(pixel, c, static_cast<unsigned>(nearer * kSeamStep));
    depthCell = at.plotDepth;
}

// The sphere's front lies nearer than its centre by the scaled height; the shade divisor
// shrinks the depth difference toward the rim, where it then falls below kOpaqueDepth.
class BallPainter {
public:
    BallPainter()
        : frame_(pixels), depths_(depthBuffer), look_(currentLook()), size2_(spriteState.size2),
          depth_(spriteState.depth), tiny_(spriteState.tinyBall != 0) {}

    bool beginColumn(const SphereEntry& e) {
        if (e.height == 0) return false;
        const int offset = (size2_ * e.height) >> 8;
        if (offset == 0) return false;
        at_.plotDepth = depth_ - offset;
        at_.lowLimit = tiny_ ? kTinyBallLowLimit : -offset;
        at_.divisor = tiny_ ? 0 : e.shade;
        return true;
    }
    void paint(int index, Colour texel) { blendBallPixel(look_, at_, frame_[index], depths_[index], texel); }

private:
    Colour* frame_;
    std::int32_t* depths_;
    BallLook look_;
    BallDepth at_{};
    int size2_;
    int depth_;
    bool tiny_;
};

void requireBallInputs() {
    constexpr const wchar_t* kMessage = L"PSI: ball drawn without its images, sprite tables or depth buffer";
    if (depthBuffer == nullptr) fatalError(kMessage);
    requireQuadrantInputs(kMessage);
}

template <bool Clipped>
void drawBall() {
    requireBallInputs();
    BallPainter painter;
    walkQuadrants(painter, Clipped ? clippedQuadrantWindow() : wholeQuadrantWindow());
}

}  // namespace

void ballPixel(Colour& pixel, std::int32_t& depthCell, Colour texel) {
    const SpriteState& s = spriteState;
    blendBallPixel(currentLook(), {plotDepth, s.lowLimit, s.divisor}, pixel, depthCell, texel);
}

void ballClipped() { drawBall<true>(); }
void ballUnclipped() { drawBall<false>(); }

void resetBallRoutines() { plotDepth = 0; }

}  // namespace lw
