// From a particle's view-space position to a sprite on the screen: the near cut, fog and fade,
// the projection of position and size, the placement of the sprite box, and the choice between
// a style's clipped and unclipped draw routine. Everything a draw routine needs ends up in
// spriteState (sprites/sprite_state.h), which is defined here.
#pragma once

#include "sprites/sprite_state.h"
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

// A nearCut of -1 puts the near cut at the magnification limit.
void setProjection(double eyeDistanceValue, double nearCutOrMinusOne);
void setFog(double far, double near, int mode);

// 1 at z = 0, growing towards the viewer up to maxMagnification.
double projectionFactor(double z);
// 1 before fogNear, 0 from fogFar on.
double fogCurve(double z);
// The fade of currentEntry by spriteState.fadeCurve / fadeHook; the caller guarantees a nonzero
// lifetime.
double fadeValue();

// Draws currentEntry, at view-space (x, y, z), with one style. The caller has set the per-frame
// and per-particle fields of spriteState (centre offsets, fade curve, tint, alpha). Returns
// depthSort when the particle is before the near cut, else 0.
int drawParticle(const PBall& style, double x, double y, double z);

// Placement from projected coordinates, after drawParticle has set the sizes. placeSprite is for
// Ball and Disc styles, placeSpot for Spot styles, placePoint for Point styles.
void placeSprite(const PBall& style, double px, double py, double pd);
void placeSpot(const PBall& style, double px, double py);
void placePoint(const PBall& style, double px, double py);

// Called first by every clipped draw routine: clamps the sprite box to the view and turns it into
// the visible halves, the first row and column and the row and column counts.
void setupClip();

// Start values of the settings above, and a fresh spriteState.
void resetDispatch();

}  // namespace lw
