// The projection and fog settings and the fade curves (the projection and fog curves are with
// drawParticle, which runs them for every particle).
#include "psi/cache.h"
#include "sprites/dispatch.h"

namespace lw {

double eyeDistance = -100.0;
double projectionDepth = -200.0;
double maxMagnification = 10.0;
double magnificationLimit = -5.0;
double nearCut = -200.0;
int depthSort = 1;
int minSpriteSize = 0;

int fogMode = kFogNone;
double fogNear = 0.0;
double fogFar = 500.0;
double fogRange = 500.0;

void setProjection(double eyeDistanceValue, double nearCutOrMinusOne) {
    eyeDistance = eyeDistanceValue;
    projectionDepth = 2.0 * eyeDistanceValue;
    magnificationLimit = 2.0 * eyeDistanceValue - eyeDistanceValue / (2.0 * maxMagnification);
    nearCut = nearCutOrMinusOne == -1.0 ? magnificationLimit : nearCutOrMinusOne;
}

void setFog(double far, double near, int mode) {
    fogFar = far;
    fogNear = near;
    fogRange = far - near;
    fogMode = mode;
}

namespace {

double bias(double a, double b) {
    const double denominator = a + (1.0 - a) * (1.0 - b);
    return denominator == 0.0 ? 0.0 : a / denominator;
}

double smoothHalf(double t) {
    const double u = t / 2.0;
    return u * u * (6.0 - 4.0 * u);
}

}  // namespace

double fadeValue(int fadeCurve, FadeHook fadeHook) {
    if (fadeHook != nullptr) return fadeHook();
    const double t = static_cast<double>(currentEntry->ttl) / static_cast<double>(currentEntry->lifetime);
    switch (fadeCurve) {
    case kFadeLinear:
        return t;
    case kFadeSmooth:
        return smoothHalf(t);
    case kFadeSmoothSquared: {
        const double s = smoothHalf(t);
        return s * s;
    }
    case kFadeSmoothStep:
        return t * t * (3.0 - 2.0 * t);
    case kFadeBias50:
        return bias(t, 0.5);
    case kFadeBias75:
        return bias(t, 0.75);
    case kFadeBias93:
        return bias(t, 0.93);
    case kFadeBias99:
        return bias(t, 0.99);
    case kFadeHideDead:
        return t == 0.0 ? 0.0 : 1.0;
    default:
        return 1.0;
    }
}

void resetDispatch() {
    eyeDistance = -100.0;
    projectionDepth = -200.0;
    maxMagnification = 10.0;
    magnificationLimit = -5.0;
    nearCut = -200.0;
    depthSort = 1;
    minSpriteSize = 0;
    fogMode = kFogNone;
    fogNear = 0.0;
    fogFar = 500.0;
    fogRange = 500.0;
}

}  // namespace lw
