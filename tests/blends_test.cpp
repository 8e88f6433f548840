// Worked values of the blends all sprite families share, and the blends of whole spans against
// them.
#include "sprites/blends.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "sprites/span_blends.h"

namespace lw {

namespace {

template <class Blend>
Colour blended(Colour pixel, Colour source, int coverage, const Paint& paint = {}) {
    Blend::blend(paint, pixel, source, coverage);
    return pixel;
}

}  // namespace

// Add, Subtract and Multiply dim a whole sprite by alpha and fog together; Normal keeps alpha
// for the pixel.
TEST(BlendsTest, AlphaFoldsIntoTheIntensityExceptForNormal) {
    SpriteRecord s;
    s.alpha = 128;
    s.depthCue = 200;
    EXPECT_EQ(paintOf<AddBlend>(s, 0).intensity, 100);
    EXPECT_EQ(paintOf<MultiplyBlend>(s, 0).intensity, 100);
    EXPECT_EQ(paintOf<NormalBlend>(s, 0).intensity, 200);
    EXPECT_EQ(paintOf<NormalBlend>(s, 0).alpha, 128);
}

TEST(BlendsTest, AddAndSubtractDimByIntensityThenCoverageAndSaturate) {
    EXPECT_EQ(blended<AddBlend>(0x00F01010, 0x00204080, kWholeCoverage), 0x00FF5090u);
    Paint dim;
    dim.intensity = 128;
    EXPECT_EQ(blended<AddBlend>(0x00F01010, 0x00204080, 128, dim), 0x00F82030u);
    EXPECT_EQ(blended<SubtractBlend>(0xFFF01010, 0x00204080, kWholeCoverage), 0x00D00000u);
}

TEST(BlendsTest, MultiplyFadesTowardWhiteWhichStillDarkensByOne) {
    EXPECT_EQ(blended<MultiplyBlend>(0x00FF8040, 0x00808080, kWholeCoverage), 0x007F4020u);
    EXPECT_EQ(blended<MultiplyBlend>(0x00FF8040, 0x00808080, 0), 0x00FE7F3Fu);
    Paint grey;  // a spot's tint: the source's blue byte picks a grey between tint and white
    grey.tint = 0x204080;
    grey.greyTint = true;
    EXPECT_EQ(blended<MultiplyBlend>(0x00FFFFFF, 0x00000080, kWholeCoverage, grey), 0x008E9EBEu);
}

// Alpha mixes with the old pixel before tint and fog; only whole coverage keeps the top byte.
TEST(BlendsTest, NormalMixesAlphaThenTintsThenFogsTowardTheBackground) {
    EXPECT_EQ(blended<NormalBlend>(0x00000000, 0xFF123456, kWholeCoverage), 0xFF123456u);
    EXPECT_EQ(blended<NormalBlend>(0x00000000, 0xFF123456, 128), 0x00091A2Bu);
    Paint paint;
    paint.alpha = 128;
    paint.tint = 0x80FF80;
    paint.intensity = 128;
    paint.background = 0x00FFFFFF;
    EXPECT_EQ(blended<NormalBlend>(0x00FF0000, 0x000000FF, kWholeCoverage, paint), 0x009F7F9Fu);
}

namespace {

// Blends spans of every length up to 40, at every alignment of pixels and texels, once four at a
// time and once pixel by pixel; the words around each span must stay as they were.
template <class Ink>
void expectSpansBlendAsPixelsDo(const Ink& ink, std::mt19937& random, const char* what) {
    std::vector<Colour> pixels(48);
    std::vector<typename Ink::Texel> texels(48);
    for (int count = 0; count <= 40; ++count) {
        const int at = static_cast<int>(random() % 4);
        const int texelAt = static_cast<int>(random() % 4);
        for (auto& p : pixels) p = random();
        for (auto& t : texels) t = static_cast<typename Ink::Texel>(random());
        std::vector<Colour> expected = pixels;
        blendSpanScalar(ink, expected.data() + at, texels.data() + texelAt, count);
        blendSpan(ink, pixels.data() + at, texels.data() + texelAt, count);
        ASSERT_EQ(pixels, expected) << what << ", " << count << " pixels at " << at << ", texels at " << texelAt;
    }
}

}  // namespace

TEST(BlendsTest, SpansBlendExactlyAsTheirPixelsDoOneByOne) {
    std::mt19937 random(11);
    for (int n = 0; n < 60; ++n) {
        Paint p;
        p.alpha = n % 3 == 0 ? 255 : static_cast<int>(random() % 256);
        p.intensity = n % 4 == 0 ? 255 : static_cast<int>(random() % 256);
        p.tint = n % 5 == 0 ? kNoTint : random();
        expectSpansBlendAsPixelsDo(WeightInk(p.alpha, random()), random, "weights");
        expectSpansBlendAsPixelsDo(TexelInk<AddBlend>{p}, random, "add");
        expectSpansBlendAsPixelsDo(TexelInk<SubtractBlend>{p}, random, "subtract");
        p.greyTint = true;
        expectSpansBlendAsPixelsDo(TexelInk<MultiplyBlend>{p}, random, "multiply");
    }
}

}  // namespace lw
