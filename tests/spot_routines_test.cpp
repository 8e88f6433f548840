#include "sprites/spot_routines.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "sprite_canvas.h"
#include "sprites/dispatch.h"
#include "sprites/sprite_tables.h"
#include "test_support.h"

namespace lw {

namespace {

using Routine = void (*)();
using test::Canvas;
using test::QuadrantImages;

constexpr Colour kNoTint = 0xFFFFFF;
constexpr std::uint32_t kMultiplyEnd = 0x00FFFFFF;

struct Look {
    int alpha = 255;
    int depthCue = 255;
    Colour tint = kNoTint;
    Colour colour = 0x00FF8040;
};

class SpotTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildDivisionTable();
    }
    void TearDown() override {
        resetSpriteTableState();
        HostTest::TearDown();
    }

    // What placeSpot and drawParticle leave in the state for a spot at (x, y).
    static void setSprite(int x, int y, int radius, const QuadrantImages& images, const Look& look = {}) {
        SpriteState& s = spriteState;
        s.centreX = x;
        s.centreY = y;
        s.radius = radius;
        s.boxLeft = x - radius;
        s.boxRight = x + radius;
        s.boxTop = y - radius;
        s.boxBottom = y + radius;
        s.divisionRow = divisionTable + radius * kTableSide;
        s.images = images.images;
        s.alpha = look.alpha;
        s.depthCue = look.depthCue;
        s.tint = look.tint;
        s.styleColour = look.colour;
    }

    // One centre pixel drawn from texel (0, 0) of the upper left image onto `pixel`.
    static std::uint32_t drawOne(Routine routine, std::uint32_t texel, std::uint32_t pixel, const Look& look = {}) {
        QuadrantImages images;
        images.texel(0, 0, 0) = texel;
        Canvas canvas(3, 3, pixel);
        setSprite(1, 1, 0, images, look);
        routine();
        return canvas.at(1, 1);
    }
};

// Pixel distance d of a sprite of radius r to its image index.
int imageIndex(int d, int r) { return r == 0 ? 0 : static_cast<int>(255.0 * d / r + 0.5); }

// The image and texel that a pixel at offset (dx, dy) from the centre reads.
int quadrantOf(int dx, int dy) { return (dy > 0 ? 2 : 0) + (dx > 0 ? 1 : 0); }

}  // namespace

TEST_F(SpotTest, AddAndSubtractScaleTheTexelByAlphaAndDepthCue) {
    EXPECT_EQ(drawOne(spotAddUnclipped, 0x00FF8040, 0, {.alpha = 128}), 0x007F4020u);
    EXPECT_EQ(drawOne(spotAddUnclipped, 0xFFFF8040, 0x00808080), 0x00FFFFC0u);  // saturates
    EXPECT_EQ(drawOne(spotSubtractUnclipped, 0x00FF8040, 0x00FFFFFF, {.alpha = 128}), 0x0080BFDFu);
    // alpha 128 and depth cue 128 combine to 64 before the texel is scaled.
    EXPECT_EQ(drawOne(spotAddUnclipped, 0x00FF8040, 0, {.alpha = 128, .depthCue = 128}), 0x003F2010u);
    EXPECT_EQ(drawOne(spotAddUnclipped, 0x00FF8040, 0, {.tint = 0x00808080}), 0x007F4020u);
}

TEST_F(SpotTest, MultiplyWithATintReadsTheBlueByteAsAGreyLevel) {
    const Look red{.tint = 0x00FF0000};
    EXPECT_EQ(drawOne(spotMultiplyUnclipped, 0x00000000, 0x00C8C8C8, red), 0x00C70000u);  // multiplier FF0000
    EXPECT_EQ(drawOne(spotMultiplyUnclipped, 0x000000FF, 0x00C8C8C8, red), 0x00C7C6C6u);  // multiplier FFFEFE
    // Untinted, the texel itself multiplies; the intensity fades it towards white.
    EXPECT_EQ(drawOne(spotMultiplyUnclipped, 0x00808080, 0x00C8C8C8), 0x00646464u);
    EXPECT_EQ(drawOne(spotMultiplyUnclipped, 0x00000000, 0x00C8C8C8, {.depthCue = 128}), 0x00636363u);
}

TEST_F(SpotTest, NormalBlendsTheStyleColourByTheTexelWeight) {
    EXPECT_EQ(drawOne(spotNormalUnclipped, 0x000000FF, 0), 0x00FE7F3Fu);  // one step short of FF8040
    EXPECT_EQ(drawOne(spotNormalUnclipped, 0x00FFFF80, 0x00000000), 0x007F4020u);  // only blue weighs
    EXPECT_EQ(drawOne(spotNormalUnclipped, 0x000000FF, 0, {.alpha = 128}), 0x007E3F1Fu);
    EXPECT_EQ(drawOne(spotNormalUnclipped, 0x000000FF, 0, {.tint = 0x00808080}), 0x007E3F1Fu);
    backgroundColour = 0x00204060;  // fog fades the colour towards the background
    EXPECT_EQ(drawOne(spotNormalUnclipped, 0x000000FF, 0, {.depthCue = 128}), 0x008E5F4Fu);
}

TEST_F(SpotTest, EndMarkersDependOnTheFamily) {
    EXPECT_EQ(drawOne(spotAddUnclipped, 0, 0xFF123456), 0xFF123456u);  // untouched, alpha byte kept
    EXPECT_EQ(drawOne(spotNormalUnclipped, 0, 0xFF123456), 0xFF123456u);
    EXPECT_EQ(drawOne(spotMultiplyUnclipped, 0, 0xFF123456), 0u);  // black multiplies
    EXPECT_EQ(drawOne(spotMultiplyUnclipped, kMultiplyEnd, 0xFF123456), 0xFF123456u);
    EXPECT_EQ(drawOne(spotMultiplyUnclipped, 0xFFFFFFFF, 0xFF123456), 0x00113355u);
    EXPECT_EQ(drawOne(spotAddUnclipped, kMultiplyEnd, 0xFF123456), 0x00FFFFFFu);
}

TEST_F(SpotTest, RadiusZeroDrawsOnePixelFromTheUpperLeftImage) {
    QuadrantImages images;
    images.fill([](int q, int, int) { return 0x00100000u * static_cast<std::uint32_t>(q + 1); });
    Canvas canvas(5, 5, 0xFF000000);
    setSprite(2, 2, 0, images);
    spotAddUnclipped();
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(canvas.at(x, y), x == 2 && y == 2 ? 0x00100000u : 0xFF000000u);
    }
}

// Every pixel of the square reads the texel of its quadrant at the scaled distances, and a
// quadrant's row stops at its first end marker: a model of the whole sprite, checked for many
// radii, with markers scattered through the images. At radius 1 the distance 1 reads the images'
// far edge (index 255).
TEST_F(SpotTest, UnclippedSpotMatchesTheQuadrantModel) {
    std::mt19937 random(7);
    QuadrantImages images;
    images.fill([&](int q, int row, int column) {
        if (random() % 40 == 0) return 0u;
        return static_cast<std::uint32_t>((0x10 + q) << 16 | row << 8 | column);
    });
    for (int r : {1, 2, 3, 7, 30, 128, 254}) {
        const int side = 2 * r + 1;
        Canvas canvas(side, side, 0xFF000000, 2);
        setSprite(r, r, r, images);
        spotAddUnclipped();
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                const int q = quadrantOf(dx, dy);
                const int row = imageIndex(dy < 0 ? -dy : dy, r);
                bool reached = true;
                for (int j = (q & 1) != 0 ? 1 : 0; j <= (dx < 0 ? -dx : dx); ++j) {
                    if (images.texel(q, row, imageIndex(j, r)) == 0) reached = false;
                }
                const std::uint32_t expected = reached ? images.texel(q, row, imageIndex(dx < 0 ? -dx : dx, r)) : 0xFF000000u;
                ASSERT_EQ(canvas.at(r + dx, r + dy), expected) << "radius " << r << " at " << dx << "," << dy;
            }
        }
        for (int y = -2; y < side + 2; ++y) {  // nothing beyond the square
            for (int x = -2; x < side + 2; ++x) {
                if (!canvas.inView(x, y)) {
                    ASSERT_EQ(canvas.at(x, y), 0xFF000000u) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(SpotTest, RoundSpotLeavesThePixelsOutsideItsDiscUntouched) {
    QuadrantImages images;
    images.fill([](int, int row, int column) { return row * row + column * column < 150 * 150 ? 0xFF204080u : 0u; });
    const int r = 20;
    Canvas canvas(2 * r + 1, 2 * r + 1, 0xFF101010);
    setSprite(r, r, r, images);
    spotAddUnclipped();
    int touched = 0;
    for (int dy = -r; dy <= r; ++dy) {
        for (int dx = -r; dx <= r; ++dx) {
            const int i = imageIndex(dy < 0 ? -dy : dy, r);
            const int j = imageIndex(dx < 0 ? -dx : dx, r);
            const bool inside = i * i + j * j < 150 * 150;
            ASSERT_EQ(canvas.at(r + dx, r + dy), inside ? 0x00305090u : 0xFF101010u) << dx << "," << dy;
            touched += inside;
        }
    }
    EXPECT_GT(touched, 300);
    EXPECT_LT(touched, 1000);
}

TEST_F(SpotTest, WhiteFilledMultiplyImagesCoverTheirSquareUntilAMarker) {
    QuadrantImages images;
    images.fill([](int, int, int) { return 0xFFFFFFFFu; });
    const int r = 5;
    Canvas canvas(2 * r + 1, 2 * r + 1, 0x00C8C8C8, 1);
    setSprite(r, r, r, images);
    spotMultiplyUnclipped();
    for (int y = -1; y <= 2 * r + 1; ++y) {
        for (int x = -1; x <= 2 * r + 1; ++x) {
            ASSERT_EQ(canvas.at(x, y), canvas.inView(x, y) ? 0x00C7C7C7u : 0x00C8C8C8u) << x << "," << y;
        }
    }
    // A white texel with a zero top byte ends the upper right quadrant's centre row.
    images.texel(1, 0, imageIndex(2, r)) = kMultiplyEnd;
    Canvas fresh(2 * r + 1, 2 * r + 1, 0x00C8C8C8);
    setSprite(r, r, r, images);
    spotMultiplyUnclipped();
    EXPECT_EQ(fresh.at(r + 1, r), 0x00C7C7C7u);
    for (int x = r + 2; x <= 2 * r; ++x) EXPECT_EQ(fresh.at(x, r), 0x00C8C8C8u);
    EXPECT_EQ(fresh.at(2 * r, r - 1), 0x00C7C7C7u);
    EXPECT_EQ(fresh.at(2 * r, r + 1), 0x00C7C7C7u);
}

TEST_F(SpotTest, CentreAboveTheViewDrawsOnlyTheLowerQuadrantsFromTheFirstVisibleRow) {
    QuadrantImages images;
    images.fill([](int q, int, int) { return 0x00010000u << q; });  // red 1, 2, 4 or 8 by quadrant
    Canvas canvas(20, 10, 0, 4);
    setSprite(10, -2, 4, images);
    spotAddClipped();
    for (int y = -4; y < 14; ++y) {
        for (int x = -4; x < 24; ++x) {
            std::uint32_t expected = 0;
            if (y >= 0 && y <= 2 && x >= 6 && x <= 14) expected = x <= 10 ? 0x00040000u : 0x00080000u;
            ASSERT_EQ(canvas.at(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(SpotTest, MissingImagesOrDivisionRowAreFatal) {
    QuadrantImages images;
    Canvas canvas(5, 5, 0);
    setSprite(2, 2, 1, images);
    spriteState.images[3] = nullptr;
    EXPECT_TRUE(test::endsInFatalError(spotAddUnclipped, L"PSI: spot drawn without its images or division table"));
    setSprite(2, 2, 1, images);
    spriteState.divisionRow = nullptr;
    EXPECT_TRUE(test::endsInFatalError(spotNormalClipped, L"PSI: spot drawn without its images or division table"));
}

}  // namespace lw
