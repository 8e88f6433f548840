// The blends all sprite families share: how a sprite's alpha and fog become its paint, and the
// blends of whole spans against the blends of single pixels. The gallery's reference picture holds
// every blend's exact pixels, tinted, fogged and at the soft edges.
#include "sprites/blends.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "sprites/span_blends.h"

namespace lw {

// Add, Subtract and Multiply dim a whole sprite by alpha and fog together; Normal keeps alpha
// for the pixel.
TEST(BlendsTest, AlphaFoldsIntoTheIntensityExceptForNormal) {
    const SpriteRecord s{.alpha = 128, .depthCue = 200};
    EXPECT_EQ(paintOf<AddBlend>(s, 0).intensity, 100);
    EXPECT_EQ(paintOf<MultiplyBlend>(s, 0).intensity, 100);
    EXPECT_EQ(paintOf<NormalBlend>(s, 0).intensity, 200);
    EXPECT_EQ(paintOf<NormalBlend>(s, 0).alpha, 128);
}

namespace {

// Blends spans of every length up to 40, at every alignment of pixels and texels, four at a time
// (once with a last chunk past the span) and pixel by pixel; the words around stay as they were.
template <class Ink>
void expectSpansBlendAsPixelsDo(const Ink& ink, std::mt19937& random, const char* what) {
    std::vector<Colour> pixels(48);
    std::vector<typename Ink::Texel> texels(48);
    for (int count = 0; count <= 40; ++count) {
        const int at = static_cast<int>(random() % 4), texelAt = static_cast<int>(random() % 4);
        for (auto& p : pixels) p = random();
        for (auto& t : texels) t = static_cast<typename Ink::Texel>(random());
        std::vector<Colour> expected = pixels, padded = pixels;
        blendSpanScalar(ink, expected.data() + at, texels.data() + texelAt, count);
        blendSpan(ink, pixels.data() + at, texels.data() + texelAt, count);
        blendPaddedSpan(ink, padded.data() + at, texels.data() + texelAt, count);  // words to spare
        ASSERT_EQ(pixels, expected) << what << ", " << count << " pixels at " << at << ", texels at " << texelAt;
        ASSERT_EQ(padded, expected) << what << " padded, " << count << " pixels at " << at << ", texels at " << texelAt;
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
