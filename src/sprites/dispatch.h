// From a particle's view-space position to a placed sprite: the near cut, fog and fade, the
// projection of position and size, the placement of the sprite box, and the choice between a
// style's clipped and unclipped draw routine. The result is one record on the sprite list with
// everything its routine needs; every check that can end the program happens here, so drawing
// the list cannot fail.
#pragma once

#include "sprites/sprite_record.h"
#include "sprites/style.h"

namespace lw {

// --- Projection settings -----------------------------------------------------------------------
extern double eyeDistance;         // the distance parameter of the projection
extern double projectionDepth;     // 2 x eyeDistance
extern double maxMagnification;    // the projection factor at or before magnificationLimit
extern double magnificationLimit;
extern double nearCut;             // particles with a smaller view z are not drawn
extern int depthSort;              // the cache is sorted, so the first near-cut particle ends the frame
extern int minSpriteSize;          // 0 = none; else the least size2 a drawn sprite gets

// --- Fog settings ------------------------------------------------------------------------------
constexpr int kFogNone = 0;
constexpr int kFogSmooth = 1000;
constexpr int kFogSmoothSquared = 1001;  // any other nonzero mode is linear
extern int fogMode;
extern double fogNear;   // fog begins
extern double fogFar;    // fog complete
extern double fogRange;  // fogFar - fogNear

// Fade curve codes of a particle system (any other code means no fade).
constexpr int kFadeLinear = 1;
constexpr int kFadeSmooth = 1000;
constexpr int kFadeSmoothSquared = 1001;
constexpr int kFadeSmoothStep = 1002;
constexpr int kFadeBias50 = 1003;
constexpr int kFadeBias75 = 1004;
constexpr int kFadeBias93 = 1005;
constexpr int kFadeBias99 = 1006;
constexpr int kFadeHideDead = 1007;

using FadeHook = double (*)();

// What the render loop hands over with a particle: per frame, per system and per style.
struct ParticleLook {
    int centreOffsetX = 0;
    int centreOffsetY = 0;
    int fadeCurve = 0;
    FadeHook fadeHook = nullptr;
    Colour tint = 0xFFFFFF;  // 0xFFFFFF: no tint
    int alpha = 255;
};

// A nearCut of -1 puts the near cut at the magnification limit.
void setProjection(double eyeDistanceValue, double nearCutOrMinusOne);
void setFog(double far, double near, int mode);

// 1 at z = 0, growing towards the viewer up to maxMagnification.
double projectionFactor(double z);
// 1 before fogNear, 0 from fogFar on.
double fogCurve(double z);
// The fade of currentEntry by the system's curve or hook; the caller guarantees a nonzero
// lifetime.
double fadeValue(int fadeCurve, FadeHook fadeHook);

// Places currentEntry, at view-space (x, y, z), with one style, onto the sprite list (nothing
// when it is off the view, invisible or too small). Returns depthSort when the particle is before
// the near cut, else 0.
int drawParticle(const PBall& style, double x, double y, double z, const ParticleLook& look);

// Places every cache entry, farthest first, with every style of its chain, up to the first entry
// before the near cut when the cache is sorted.
void placeCache();

// Ends the program when the style lacks a table or image that its image routines read while
// drawing (a textured disc or ball, a spot), where the message can still be clear; builds the
// circle masks an untextured disc reads.
void requireInputs(const PBall& style);

// Start values of the settings above.
void resetDispatch();

}  // namespace lw
