// The blends every sprite family shares. Each mixes a source colour (a texel, or a sprite's flat
// colour) into a frame pixel with the sprite's tint, fog and alpha, weighted by a coverage that
// the family supplies per pixel: a circle mask, a soft rim, a depth seam or a texel's weight.
// One struct per blend mode; routines are templates over them, chosen once per style.
#pragma once

#include "raster/colour.h"
#include "sprites/sprite_record.h"

namespace lw {

constexpr Colour kNoTint = 0xFFFFFF;
constexpr Colour kWhite = 0xFFFFFF;
// Coverage that takes the blended colour as it is, its top byte included; partial coverage runs
// 0..255 and always mixes.
constexpr int kWholeCoverage = 256;

// Per sprite: how its source colours are shaded before they meet the pixel.
struct Paint {
    Colour tint = kNoTint;
    int alpha = 255;
    int intensity = 255;  // the depth cue, with alpha folded in where the blend dims by it
    Colour background = 0;
    bool greyTint = false;  // the source's blue byte chooses a grey between tint and white
};

namespace blendDetail {
// Every channel times weight / 256; weight 0..256.
constexpr Colour scaleChannels(Colour c, int weight) {
    return colourDetail::perChannel(c, 0, [weight](int x, int) { return (x * weight) >> 8; });
}
inline Colour tinted(const Paint& p, Colour source) {
    if (p.tint == kNoTint) return source;
    return p.greyTint ? lerpColour(p.tint, kWhite, source & 0xFFu) : mulColour(source, p.tint);
}
template <Colour (*Combine)(Colour, Colour)>
struct Additive {
    static constexpr bool kFoldsAlpha = true;
    static void blend(const Paint& p, Colour& pixel, Colour source, int coverage) {
        Colour c = tinted(p, source);
        if (p.intensity != 255) c = scaleChannels(c, p.intensity);
        if (coverage != kWholeCoverage) c = scaleChannels(c, coverage);
        pixel = Combine(pixel, c);
    }
};
constexpr Colour addColours(Colour a, Colour b) { return addSat(a, b); }
constexpr Colour subtractColours(Colour a, Colour b) { return subSat(a, b); }
}  // namespace blendDetail

// Tinted, dimmed by fog and coverage, added or subtracted with saturation.
using AddBlend = blendDetail::Additive<blendDetail::addColours>;
using SubtractBlend = blendDetail::Additive<blendDetail::subtractColours>;

// White leaves a multiplied pixel unchanged, so fog and partial coverage both fade towards it.
struct MultiplyBlend {
    static constexpr bool kFoldsAlpha = true;
    static void blend(const Paint& p, Colour& pixel, Colour source, int coverage) {
        Colour c = blendDetail::tinted(p, source);
        if (p.intensity != 255) c = lerpColour(kWhite, c, static_cast<unsigned>(p.intensity));
        if (coverage != kWholeCoverage) c = lerpColour(kWhite, c, static_cast<unsigned>(coverage));
        pixel = mulColour(pixel, c);
    }
};

// Alpha mixes with the old pixel before tint and fog; fog fades toward the background.
struct NormalBlend {
    static constexpr bool kFoldsAlpha = false;
    static void blend(const Paint& p, Colour& pixel, Colour source, int coverage) {
        Colour c = source;
        if (p.alpha != 255) c = lerpColour(pixel, c, static_cast<unsigned>(p.alpha));
        c = blendDetail::tinted(p, c);
        if (p.intensity != 255) c = lerpColour(p.background, c, static_cast<unsigned>(p.intensity));
        pixel = coverage == kWholeCoverage ? c : lerpColour(pixel, c, static_cast<unsigned>(coverage));
    }
};

// The paint of a record under a blend: Add, Subtract and Multiply dim the whole sprite by alpha
// and fog together; Normal applies alpha per pixel.
template <class Blend>
Paint paintOf(const SpriteRecord& s, Colour background) {
    Paint p;
    p.tint = s.tint;
    p.alpha = s.alpha;
    p.intensity = Blend::kFoldsAlpha ? s.alpha * s.depthCue / 255 : s.depthCue;
    p.background = background;
    return p;
}

// A flat colour, tinted and faded toward the background once per sprite, for the families whose
// Normal blend weights that colour per pixel.
inline Colour foggedColour(const SpriteRecord& s, Colour background) {
    Colour c = s.tint == kNoTint ? s.styleColour : mulColour(s.styleColour, s.tint);
    if (s.depthCue != 255) c = lerpColour(background, c, static_cast<unsigned>(s.depthCue));
    return c;
}

// A coverage of 0..255 where 255 means the whole pixel.
constexpr int wholeAt255(int coverage) { return coverage == 255 ? kWholeCoverage : coverage; }

}  // namespace lw
