// The per-pixel combine operations that the ball, textured disc and flat disc routines share.
// They read the sprite's fog, tint, alpha and coverage from spriteState, which the caller has
// set for the current sprite (and, for coverage, the current pixel) before the call.
#pragma once

#include <cstdint>

#include "raster/colour.h"
#include "raster/frame_buffer.h"
#include "sprites/sprite_state.h"

namespace lw {

namespace combineDetail {
constexpr Colour kNoTint = 0xFFFFFF;
constexpr Colour kWhite = 0xFFFFFF;

// Every channel times weight / 256; weight 0..256.
constexpr Colour scaleChannels(Colour c, int weight) {
    return colourDetail::perChannel(c, 0, [weight](int x, int) { return (x * weight) >> 8; });
}

inline Colour tinted(Colour texel) {
    const Colour tint = spriteState.tint;
    return tint == kNoTint ? texel : mulColour(texel, tint);
}

// The source of an additive or subtractive texel: tinted, dimmed by fog and by coverage.
inline Colour additiveSource(Colour texel) {
    Colour c = tinted(texel);
    const int depthCue = spriteState.depthCue;
    if (depthCue != 255) c = scaleChannels(c, depthCue);
    const int coverage = spriteState.coverage;
    if (coverage != 255) c = scaleChannels(c, coverage);
    return c;
}
}  // namespace combineDetail

// Dims a colour by the depth cue (toward black); alpha byte 0 unless left unchanged at 255.
inline Colour scaleByDepthCue(Colour c) {
    const int depthCue = spriteState.depthCue;
    return depthCue == 255 ? c : combineDetail::scaleChannels(c, depthCue);
}

inline void addTexel(Colour& pixel, Colour texel) { pixel = addSat(pixel, combineDetail::additiveSource(texel)); }

inline void subtractTexel(Colour& pixel, Colour texel) {
    pixel = subSat(pixel, combineDetail::additiveSource(texel));
}

// Fog and a partly covered edge fade toward white, which leaves a multiplied pixel unchanged.
inline void multiplyTexel(Colour& pixel, Colour texel) {
    Colour c = combineDetail::tinted(texel);
    const SpriteState& s = spriteState;
    if (s.depthCue != 255) c = lerpColour(combineDetail::kWhite, c, static_cast<unsigned>(s.depthCue));
    if (s.coverage != 255) c = lerpColour(combineDetail::kWhite, c, static_cast<unsigned>(s.coverage));
    pixel = mulColour(pixel, c);
}

// Alpha mixes with the old pixel before tint and fog; fog fades toward the background. A fully
// covered, untinted, unfogged, opaque texel is written whole, its alpha byte included.
inline void normalTexel(Colour& pixel, Colour texel) {
    const SpriteState& s = spriteState;
    Colour c = texel;
    if (s.alpha != 255) c = lerpColour(pixel, texel, static_cast<unsigned>(s.alpha));
    c = combineDetail::tinted(c);
    if (s.depthCue != 255) c = lerpColour(backgroundColour, c, static_cast<unsigned>(s.depthCue));
    pixel = s.coverage == 255 ? c : lerpColour(pixel, c, static_cast<unsigned>(s.coverage));
}

// The flat Multiply disc's one-pixel case: the colour that routine prepared (tinted and faded
// toward white) multiplied into the pixel.
inline void multiplyPixel(Colour& pixel, Colour scaledColour) { pixel = mulColour(pixel, scaledColour); }

}  // namespace lw
