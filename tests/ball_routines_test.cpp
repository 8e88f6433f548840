#include "sprites/ball_routines.h"

#include <cstdint>
#include <random>

#include "depth_canvas.h"
#include "round_sprite_support.h"
#include "sprite_canvas.h"
#include "sprites/sprite_tables.h"
#include "test_support.h"

namespace lw {

namespace {

using test::Canvas;
using test::DepthCells;
using test::QuadrantImages;
using test::SpriteLook;

constexpr Colour kNoTint = 0xFFFFFF;

class BallTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildSphereTable();
        buildDivisionTable();
        backgroundColour = 0;
    }
    // ballPixel's inputs for one pixel.
    static void depthSetUp(int plot, int lowLimit, int divisor, const SpriteLook& look = {}) {
        plotDepth = plot;
        spriteState.lowLimit = lowLimit;
        spriteState.divisor = divisor;
        spriteState.alpha = look.alpha;
        spriteState.depthCue = look.depthCue;
        spriteState.tint = look.tint;
    }
    // The pixel after ballPixel over `pixel` with the given depth cell; the cell is returned too.
    static Colour blended(Colour pixel, std::int32_t& cell, Colour texel) {
        ballPixel(pixel, cell, texel);
        return pixel;
    }
};

}  // namespace

TEST_F(BallTest, BallPixelBlendsByHowMuchNearerItIs) {
    depthSetUp(100, -1000, 0);
    for (int v = 1; v <= 7; ++v) {
        std::int32_t cell = 100 + v;
        EXPECT_EQ(blended(0x00000000, cell, 0x00FFFFFF), lerpColour(0, 0xFFFFFF, 32u * v)) << v;
        EXPECT_EQ(cell, 100);
    }
    std::int32_t cell = 104;
    EXPECT_EQ(blended(0x00000000, cell, 0x00FFFFFF), 0x007F7F7Fu);
    cell = 108;
    EXPECT_EQ(blended(0x00000000, cell, 0xAB123456), 0xAB123456u) << "8 units in front: the texel word whole";

    // Level with or behind the drawn pixel: nothing is written, not even the depth.
    for (std::int32_t behind : {100, 99, -5000}) {
        cell = behind;
        EXPECT_EQ(blended(0x00445566, cell, 0x00FFFFFF), 0x00445566u);
        EXPECT_EQ(cell, behind);
    }
}

TEST_F(BallTest, BallPixelHoldsAndDividesTheDepthDifference) {
    std::int32_t cell = 0;
    depthSetUp(100, -1000, 4);
    cell = 120;  // -20 / 4 = -5
    EXPECT_EQ(blended(0, cell, 0x00FFFFFF), lerpColour(0, 0xFFFFFF, 160));
    depthSetUp(100, -1000, 2);
    cell = 110;  // -10 / 2 = -5
    EXPECT_EQ(blended(0, cell, 0x00FFFFFF), lerpColour(0, 0xFFFFFF, 160));
    depthSetUp(100, -1000, 16);
    cell = 140;  // -40 / 16 = -2
    EXPECT_EQ(blended(0, cell, 0x00FFFFFF), lerpColour(0, 0xFFFFFF, 64));
    depthSetUp(100, -1000, 4);
    cell = 103;  // -3 / 4 truncates to 0: hidden
    EXPECT_EQ(blended(0x00010203, cell, 0x00FFFFFF), 0x00010203u);
    EXPECT_EQ(cell, 103);

    depthSetUp(100, -7, 0);
    cell = depthClearValue;  // far behind, yet held at 7 units: the soft rim of a lone ball
    EXPECT_EQ(blended(0, cell, 0x00FFFFFF), 0x00DFDFDFu);
    depthSetUp(100, -7, 4);
    cell = depthClearValue;  // -7 / 4 = -1
    EXPECT_EQ(blended(0, cell, 0x00FFFFFF), 0x001F1F1Fu);
    depthSetUp(100, -7, 1);  // a divisor of 1 divides nothing
    cell = depthClearValue;
    EXPECT_EQ(blended(0, cell, 0x00FFFFFF), 0x00DFDFDFu);
}

TEST_F(BallTest, BallPixelMixesAlphaBeforeTintAndFog) {
    std::int32_t cell = depthClearValue;
    depthSetUp(0, -1000, 0, {.alpha = 128, .tint = 0x00FF0000});
    // Half with the old black pixel (7F7F7F), then tinted; tinting first would give 7F0000.
    EXPECT_EQ(blended(0, cell, 0x00FFFFFF), 0x007E0000u);
    backgroundColour = 0x000000FF;
    cell = depthClearValue;
    depthSetUp(0, -1000, 0, {.alpha = 128, .depthCue = 128, .tint = 0x00FF0000});
    EXPECT_EQ(blended(0, cell, 0x00FFFFFF), 0x003F007Fu) << "fogged half way toward the blue background";
}

TEST_F(BallTest, RadiusZeroBallDrawsItsCentreWithOffsetSeven) {
    QuadrantImages images;
    images.fill([](int q, int, int) { return 0x00101010u * static_cast<std::uint32_t>(q + 1); });
    images.texel(0, 0, 0) = 0x00FFFFFF;
    Canvas canvas(3, 3, 0, 1);
    DepthCells depths(canvas, depthClearValue);
    test::placeRoundSprite(1, 1, 0, images, {}, 1000);
    ballUnclipped();
    for (int y = -1; y <= 3; ++y) {
        for (int x = -1; x <= 3; ++x) {
            const bool centre = x == 1 && y == 1;
            // Held at the offset 7 against the cleared cell: 7 x 32 of the texel.
            EXPECT_EQ(canvas.at(x, y), centre ? 0x00DFDFDFu : 0u) << x << "," << y;
            EXPECT_EQ(depths.at(x, y), centre ? 993 : depthClearValue) << x << "," << y;
        }
    }
    // The same ball again is level with itself; a nearer one covers 7 units of its depth.
    ballUnclipped();
    EXPECT_EQ(canvas.at(1, 1), 0x00DFDFDFu);
    test::placeRoundSprite(1, 1, 0, images, {}, 990);
    ballUnclipped();
    EXPECT_EQ(canvas.at(1, 1), 0x00FBFBFBu);
    EXPECT_EQ(depths.at(1, 1), 983);
}

// Size2 of 2: no soft rim, every drawn pixel is written whole; the corners lie outside.
TEST_F(BallTest, TinyBallIsAHardPlus) {
    QuadrantImages images;
    images.fill([](int q, int row, int column) { return static_cast<std::uint32_t>(0x01000000 * (q + 1) + row * 256 + column); });
    Canvas canvas(3, 3, 0x00777777);
    DepthCells depths(canvas, depthClearValue);
    test::placeRoundSprite(1, 1, 1, images, {}, 0);
    ballUnclipped();
    EXPECT_EQ(canvas.at(1, 1), images.texel(0, 0, 0));
    EXPECT_EQ(canvas.at(0, 1), images.texel(0, 0, 255));
    EXPECT_EQ(canvas.at(2, 1), images.texel(1, 0, 255));
    EXPECT_EQ(canvas.at(1, 0), images.texel(0, 255, 0));
    EXPECT_EQ(canvas.at(1, 2), images.texel(2, 255, 0));
    for (int y : {0, 2}) {
        for (int x : {0, 2}) EXPECT_EQ(canvas.at(x, y), 0x00777777u) << x << "," << y;
    }
    EXPECT_EQ(depths.at(1, 1), -15);  // (2 x 2044) >> 8 in front of the centre
    EXPECT_EQ(depths.at(0, 1), -1);   // (2 x 128) >> 8 at the rim
}

TEST_F(BallTest, BallBehindDrawnPixelsWritesNothing) {
    QuadrantImages images;
    images.fill([](int, int, int) { return 0x00FFFFFFu; });
    Canvas canvas(40, 40, 0, 2);
    DepthCells depths(canvas, -5000);
    test::placeRoundSprite(20, 20, 15, images, {}, 0);
    ballUnclipped();
    for (int y = -2; y < 42; ++y) {
        for (int x = -2; x < 42; ++x) {
            ASSERT_EQ(canvas.at(x, y), 0u) << x << "," << y;
            ASSERT_EQ(depths.at(x, y), -5000) << x << "," << y;
        }
    }
    // Against cleared cells the same ball covers its disc.
    DepthCells cleared(canvas, depthClearValue);
    ballUnclipped();
    int drawn = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) drawn += canvas.at(x, y) != 0;
    }
    EXPECT_GT(drawn, 650);  // pi x 15^2 is 707
    EXPECT_LE(drawn, 31 * 31);
}

// The routine against a pixel-by-pixel model: every pixel of the box reads the texel and sphere
// entry of its quadrant at the scaled distances, and inside the outline goes through ballPixel
// with the depth set-up of its sphere entry. Random old pixels and depths around the ball's give
// hidden, seamed and whole pixels.
TEST_F(BallTest, UnclippedBallMatchesThePixelModel) {
    std::mt19937 random(11);
    QuadrantImages images;
    images.fill([&](int, int, int) { return static_cast<std::uint32_t>(random()); });
    const SpriteLook looks[] = {{}, {.alpha = 150, .depthCue = 200, .tint = 0x00C08040}};
    backgroundColour = 0x00203040;
    for (int r : {0, 1, 2, 3, 7, 30, 128, 254}) {
        for (const SpriteLook& look : looks) {
            const int side = 2 * r + 1;
            const int depth = 500;
            Canvas canvas(side, side, 0x5A5A5A5A, 2);
            DepthCells depths(canvas, 0x5A5A5A5A);
            Canvas before(side, side, 0);
            DepthCells beforeDepths(before, 0);
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x) {
                    before.at(x, y) = canvas.at(x, y) = static_cast<std::uint32_t>(random());
                    const auto cell = static_cast<std::int32_t>(depth - 8 * side - 10 + random() % (16 * side + 20));
                    beforeDepths.at(x, y) = depths.at(x, y) = cell;
                }
            }
            canvas.install();
            depths.install();
            test::placeRoundSprite(r, r, r, images, look, depth);
            ballUnclipped();
            for (int y = -2; y < side + 2; ++y) {
                for (int x = -2; x < side + 2; ++x) {
                    Colour pixel = 0x5A5A5A5A;
                    std::int32_t cell = 0x5A5A5A5A;
                    if (canvas.inView(x, y)) {
                        pixel = before.at(x, y);
                        cell = beforeDepths.at(x, y);
                        const test::TexelSpot t = test::texelSpotOf(x - r, y - r, r);
                        const SphereEntry& e = test::sphereAt(t);
                        const int offset = (r + 1) * e.height >> 8;
                        if (offset != 0) {
                            const bool tiny = r == 1;
                            depthSetUp(depth - offset, tiny ? -777 : -offset, tiny ? 0 : e.shade, look);
                            ballPixel(pixel, cell, images.texel(t.quadrant, t.row, t.column));
                        }
                    }
                    ASSERT_EQ(canvas.at(x, y), pixel) << "radius " << r << " alpha " << look.alpha << " at " << x << "," << y;
                    ASSERT_EQ(depths.at(x, y), cell) << "radius " << r << " alpha " << look.alpha << " at " << x << "," << y;
                }
            }
        }
    }
}

// A white ball, then a blue one beside it at the same depth: where the blue is in front by 1 to
// 7 units, inside the white one too and not only at their rims, it is mixed by v x 32.
TEST_F(BallTest, OverlappingBallsBlendTheirSeam) {
    QuadrantImages white;
    white.fill([](int, int, int) { return 0x00FFFFFFu; });
    QuadrantImages blue;
    blue.fill([](int, int, int) { return 0x000000FFu; });
    Canvas canvas(110, 70, 0);
    DepthCells depths(canvas, depthClearValue);
    test::placeRoundSprite(35, 35, 34, white, {}, 0);
    ballUnclipped();
    Canvas first(110, 70, 0);
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 110; ++x) first.at(x, y) = canvas.at(x, y);
    }
    canvas.install();
    test::placeRoundSprite(69, 35, 34, blue, {}, 0);
    ballUnclipped();
    int seamInsideWhite = 0;
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 110; ++x) {
            const Colour was = first.at(x, y);
            const Colour now = canvas.at(x, y);
            if (now == was || now == 0x000000FFu) continue;
            int step = 0;
            for (int v = 1; v <= 7; ++v) {
                if (lerpColour(was, 0x0000FF, 32u * v) == now) step = v;
            }
            ASSERT_NE(step, 0) << "neither kept, covered nor mixed by v x 32 at " << x << "," << y;
            if (was == 0x00FFFFFFu) ++seamInsideWhite;
        }
    }
    EXPECT_GT(seamInsideWhite, 10);
}

TEST_F(BallTest, MissingInputsAreFatal) {
    const std::wstring message = L"PSI: ball drawn without its images, sprite tables or depth buffer";
    QuadrantImages images;
    Canvas canvas(5, 5, 0);
    test::placeRoundSprite(2, 2, 2, images);
    EXPECT_TRUE(test::endsInFatalError(ballUnclipped, message)) << "no depth buffer";
    DepthCells depths(canvas, depthClearValue);
    freeSphereTable();
    EXPECT_TRUE(test::endsInFatalError(ballClipped, message)) << "no sphere table";
    buildSphereTable();
    spriteState.images[3] = nullptr;
    EXPECT_TRUE(test::endsInFatalError(ballUnclipped, message)) << "an image missing";
    test::placeRoundSprite(2, 2, 2, images);
    spriteState.radius = 256;
    EXPECT_TRUE(test::endsInFatalError(ballUnclipped, message)) << "a radius past the tables";
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(canvas.at(x, y), 0u);
    }
}

}  // namespace lw
