#include <cmath>
#include <limits>

#include "psi/cache.h"
#include "sprites/dispatch.h"
#include "sprites/rounding.h"
#include "test_support.h"

namespace lw {

namespace {

using DepthCueTest = test::HostTest;

CacheEntry entryWithLife(int ttl, int lifetime) {
    CacheEntry e{};
    e.ttl = ttl;
    e.lifetime = lifetime;
    return e;
}

double fadeOf(int code, int ttl, int lifetime) {
    CacheEntry e = entryWithLife(ttl, lifetime);
    currentEntry = &e;
    spriteState.fadeCurve = code;
    const double g = fadeValue();
    currentEntry = nullptr;
    return g;
}

double hookValue() { return 0.375; }

}  // namespace

TEST_F(DepthCueTest, SceneProjectionPutsNearCutAtTheMagnificationLimit) {
    setProjection(-80, -1);
    EXPECT_EQ(eyeDistance, -80.0);
    EXPECT_EQ(projectionDepth, -160.0);
    EXPECT_EQ(magnificationLimit, -156.0);
    EXPECT_EQ(nearCut, -156.0);
    EXPECT_DOUBLE_EQ(projectionFactor(0), 1.0);
    EXPECT_DOUBLE_EQ(projectionFactor(160), 0.5);
    EXPECT_DOUBLE_EQ(projectionFactor(-80), 2.0);
    // At and before the limit the factor is held, instead of running into the pole at -160;
    // just after it the curve itself has already reached 4 x maxMagnification.
    EXPECT_EQ(projectionFactor(-156), 10.0);
    EXPECT_EQ(projectionFactor(-160), 10.0);
    EXPECT_NEAR(projectionFactor(-155.9), 160 / 4.1, 1e-12);

    setProjection(-80, -30);
    EXPECT_EQ(nearCut, -30.0);
}

TEST_F(DepthCueTest, FogCurvesOfEachMode) {
    EXPECT_EQ(fogCurve(-1000), 1.0);
    setFog(500, 0, 1);  // linear
    EXPECT_DOUBLE_EQ(fogCurve(250), 0.5);
    EXPECT_EQ(fogCurve(500), 0.0);
    EXPECT_EQ(fogCurve(900), 0.0);
    EXPECT_EQ(fogCurve(0), 1.0);

    setFog(350, -100, kFogSmoothSquared);  // the scene's fog
    EXPECT_EQ(fogRange, 450.0);
    EXPECT_DOUBLE_EQ(fogCurve(125), 0.09765625);  // t = 0.25, smooth 0.3125, squared
    EXPECT_EQ(fogCurve(350), 0.0);
    EXPECT_EQ(fogCurve(400), 0.0);

    setFog(350, -100, kFogSmooth);
    EXPECT_DOUBLE_EQ(fogCurve(125), 0.3125);
    // Smooth curves fall monotonically through the range.
    double previous = 1.0;
    for (double z = -90; z <= 350; z += 10) {
        const double f = fogCurve(z);
        EXPECT_LE(f, previous);
        EXPECT_GE(f, 0.0);
        previous = f;
    }
}

TEST_F(DepthCueTest, FadeCurvesByCode) {
    EXPECT_DOUBLE_EQ(fadeOf(kFadeLinear, 3, 4), 0.75);
    EXPECT_EQ(fadeOf(kFadeHideDead, 0, 10), 0.0);
    EXPECT_EQ(fadeOf(kFadeHideDead, 1, 10), 1.0);
    EXPECT_DOUBLE_EQ(fadeOf(kFadeSmooth, 1, 1), 1.0);
    EXPECT_DOUBLE_EQ(fadeOf(kFadeSmooth, 1, 2), 0.3125);  // u = 0.25
    EXPECT_DOUBLE_EQ(fadeOf(kFadeSmoothSquared, 1, 2), 0.09765625);
    EXPECT_DOUBLE_EQ(fadeOf(kFadeSmoothStep, 1, 4), 0.15625);
    EXPECT_DOUBLE_EQ(fadeOf(kFadeBias50, 1, 4), 0.25 / (0.25 + 0.75 * 0.5));
    EXPECT_DOUBLE_EQ(fadeOf(kFadeBias99, 1, 2), 0.5 / (0.5 + 0.5 * 0.01));
    EXPECT_EQ(fadeOf(kFadeBias75, 0, 4), 0.0);
    EXPECT_EQ(fadeOf(kFadeBias93, 4, 4), 1.0);
    EXPECT_EQ(fadeOf(0, 1, 4), 1.0);     // no curve
    EXPECT_EQ(fadeOf(1234, 1, 4), 1.0);  // unknown code

    spriteState.fadeHook = hookValue;
    EXPECT_EQ(fadeOf(kFadeLinear, 1, 4), 0.375);
}

TEST_F(DepthCueTest, RoundingAddsHalfAndTruncatesTowardZero) {
    EXPECT_EQ(addHalfTruncate(-0.7), 0);
    EXPECT_EQ(addHalfTruncate(-1.7), -1);
    EXPECT_EQ(addHalfTruncate(2.5), 3);
    EXPECT_EQ(addHalfTruncate(2.49), 2);
    // Run-away values are held far off the view rather than overflowing.
    EXPECT_EQ(addHalfTruncate(1e30), static_cast<int>(kPixelCoordinateLimit));
    EXPECT_EQ(addHalfTruncate(-1e30), -static_cast<int>(kPixelCoordinateLimit));
    EXPECT_EQ(addHalfTruncate(std::numeric_limits<double>::infinity()), static_cast<int>(kPixelCoordinateLimit));
    EXPECT_EQ(addHalfTruncate(std::nan("")), 0);
}

}  // namespace lw
