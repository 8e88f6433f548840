// Worked values of the per-pixel combine operations: the order in which alpha, tint, fog and
// coverage apply decides every blended pixel of the balls and discs.
#include <cstdint>

#include "raster/colour.h"
#include "sprites/combine.h"
#include "test_support.h"

namespace lw {

namespace {

class CombineTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        backgroundColour = 0x00000000;
        look(255, 255, 0xFFFFFF, 255);
    }
    static void look(int alpha, int depthCue, Colour tint, int coverage) {
        spriteState.alpha = alpha;
        spriteState.depthCue = depthCue;
        spriteState.tint = tint;
        spriteState.coverage = coverage;
    }
};

}  // namespace

TEST_F(CombineTest, ScaleByDepthCueKeepsTheWholeWordOnlyWithoutFog) {
    EXPECT_EQ(scaleByDepthCue(0xFF806040), 0xFF806040u);
    spriteState.depthCue = 128;
    EXPECT_EQ(scaleByDepthCue(0xFF806040), 0x00403020u);
    spriteState.depthCue = 0;
    EXPECT_EQ(scaleByDepthCue(0xFFFFFFFF), 0u);
    spriteState.depthCue = 254;
    EXPECT_EQ(scaleByDepthCue(0x00FFFFFF), 0x00FDFDFDu);
}

TEST_F(CombineTest, AddAndSubtractTintThenFogThenCoverage) {
    Colour pixel = 0x00102030;
    addTexel(pixel, 0x00808080);
    EXPECT_EQ(pixel, 0x0090A0B0u);
    addTexel(pixel, 0x00808080);
    EXPECT_EQ(pixel, 0x00FFFFFFu) << "saturates per channel";

    look(255, 128, 0x00FF8000, 128);
    pixel = 0x00101010;
    // Tinted: 0x7F4000; fogged: 0x3F2000; half covered: 0x1F1000.
    addTexel(pixel, 0x00808080);
    EXPECT_EQ(pixel, 0x002F2010u);
    subtractTexel(pixel, 0x00808080);
    EXPECT_EQ(pixel, 0x00101010u);
    subtractTexel(pixel, 0x00808080);
    EXPECT_EQ(pixel, 0x00000010u) << "floors at 0 per channel";
}

TEST_F(CombineTest, AddIgnoresAlphaWhichTheRoutineFoldsIntoTheFog) {
    look(0, 255, 0xFFFFFF, 255);
    Colour pixel = 0;
    addTexel(pixel, 0x00405060);
    EXPECT_EQ(pixel, 0x00405060u);
}

TEST_F(CombineTest, MultiplyFadesFogAndEdgesTowardWhite) {
    Colour pixel = 0x00FFFFFF;
    multiplyTexel(pixel, 0x00808080);
    EXPECT_EQ(pixel, 0x007F7F7Fu);

    // Fog 0 and coverage 0 each leave the pixel as a multiply by white leaves it.
    look(255, 0, 0xFFFFFF, 255);
    pixel = 0x00804020;
    multiplyTexel(pixel, 0);
    EXPECT_EQ(pixel, mulColour(0x00804020, 0x00FFFFFF));
    look(255, 255, 0xFFFFFF, 0);
    pixel = 0x00804020;
    multiplyTexel(pixel, 0);
    EXPECT_EQ(pixel, mulColour(0x00804020, 0x00FFFFFF));

    // Tint, then fog half way to white, then coverage half way again.
    look(255, 128, 0x00FF0000, 128);
    pixel = 0x00FFFFFF;
    const Colour tinted = mulColour(0x00808080, 0x00FF0000);
    const Colour expected = mulColour(0x00FFFFFF, lerpColour(0xFFFFFF, lerpColour(0xFFFFFF, tinted, 128), 128));
    multiplyTexel(pixel, 0x00808080);
    EXPECT_EQ(pixel, expected);
    EXPECT_EQ(expected, 0x00DEBEBEu);
}

TEST_F(CombineTest, NormalMixesAlphaBeforeTintAndFogTowardTheBackground) {
    Colour pixel = 0x00123456;
    normalTexel(pixel, 0xAB807060);
    EXPECT_EQ(pixel, 0xAB807060u) << "opaque, untinted, unfogged and covered: the texel word itself";

    backgroundColour = 0x00FFFFFF;
    look(128, 128, 0x00FF00FF, 255);
    pixel = 0x00000000;
    // Half with the old pixel: 0x403830; tinted: 0x3F002F; half way from white: 0x9F7F97.
    normalTexel(pixel, 0x00807060);
    EXPECT_EQ(pixel, 0x009F7F97u);

    look(255, 255, 0xFFFFFF, 64);
    pixel = 0x00000000;
    normalTexel(pixel, 0x00FFFFFF);
    EXPECT_EQ(pixel, 0x003F3F3Fu) << "a quarter-covered edge";
}

TEST_F(CombineTest, MultiplyPixelMultipliesEachChannel) {
    Colour pixel = 0xFF80FF40;
    multiplyPixel(pixel, 0x00FF8080);
    EXPECT_EQ(pixel, 0x007F7F20u);
}

}  // namespace lw
