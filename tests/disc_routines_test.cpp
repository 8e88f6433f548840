#include "sprites/disc_routines.h"

#include <cstdint>
#include <cstdlib>

#include "disc_test_support.h"
#include "sprite_canvas.h"
#include "sprites/circle_masks.h"
#include "sprites/draw_routines.h"
#include "test_support.h"

namespace lw {

namespace {

using Routine = void (*)();
using test::Canvas;
using test::DiscLook;
using test::placeDisc;

constexpr std::uint32_t kUntouched = 0xFF000000;  // a touched pixel's top byte is 0 (or the colour's)

class DiscTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildCircleMasks();
    }
};

int coverageOf(int size, int i, int j) {
    MaskSelection mask;
    selectMask(mask, size);
    if (i >= static_cast<int>(mask.width) || j >= static_cast<int>(mask.width)) return 0;
    mask.row += i * static_cast<int>(mask.width);
    return maskCoverage(mask, j);
}

// A size 8 disc (radius 1) at the middle of a 3 x 3 view: the centre, a direct neighbour and a
// diagonal pixel after drawing onto `pixel`.
struct Three {
    std::uint32_t centre, side, corner;
};
Three drawSize8(Routine routine, std::uint32_t pixel, const DiscLook& look) {
    Canvas canvas(3, 3, pixel);
    placeDisc(1, 1, 8, look);
    routine();
    // The four sides and four corners come out alike; the mirroring is checked elsewhere.
    EXPECT_EQ(canvas.at(0, 1), canvas.at(2, 1));
    EXPECT_EQ(canvas.at(1, 0), canvas.at(1, 2));
    EXPECT_EQ(canvas.at(0, 0), canvas.at(2, 2));
    EXPECT_EQ(canvas.at(2, 0), canvas.at(0, 2));
    return {canvas.at(1, 1), canvas.at(1, 0), canvas.at(0, 0)};
}

void expectThree(const Three& got, std::uint32_t centre, std::uint32_t side, std::uint32_t corner) {
    EXPECT_EQ(got.centre, centre);
    EXPECT_EQ(got.side, side);
    EXPECT_EQ(got.corner, corner);
}

}  // namespace

// Mask of size 8: 255 191 / 191 127.
TEST_F(DiscTest, EachFamilyBlendsTheSize8MaskAsWorked) {
    // Add: 255 x 191 >> 8 = 190, 255 x 127 >> 8 = 126.
    expectThree(drawSize8(discAddUnclipped, 0, {}), 0x00FF0000u, 0x00BE0000u, 0x007E0000u);
    // Multiply: 128 at full coverage halves; partial coverage fades the multiplier towards white,
    // 255 + floor(-127 x 191 / 256) = 160 and 255 + floor(-127 x 127 / 256) = 191.
    expectThree(drawSize8(discMultiplyUnclipped, 0x00C8C8C8, {.colour = 0x00808080}), 0x00646464u, 0x007D7D7Du,
                0x00959595u);
    // Subtract: the same sources as Add.
    expectThree(drawSize8(discSubtractUnclipped, 0x00FFFFFF, {.colour = 0x00204080}), 0x00DFBF7Fu, 0x00E8D0A0u,
                0x00F0E0C0u);
    // Normal, opaque: the colour's word whole where fully covered, else a mix by coverage.
    expectThree(drawSize8(discNormalUnclipped, 0, {.colour = 0xAB123456}), 0xAB123456u, 0x000D2640u, 0x0008192Au);
    // Add and Subtract saturate, and clear the top byte of every pixel they touch.
    expectThree(drawSize8(discAddUnclipped, 0xFF808080, {.colour = 0x00FFFFFF}), 0x00FFFFFFu, 0x00FFFFFFu, 0x00FEFEFEu);
    expectThree(drawSize8(discSubtractUnclipped, 0xFF404040, {.colour = 0x00FFFFFF}), 0u, 0u, 0u);
}

TEST_F(DiscTest, AlphaFogAndTintArePreparedOncePerSprite) {
    // Add folds alpha into the depth cue, which keeps the combined value.
    expectThree(drawSize8(discAddUnclipped, 0, {.alpha = 128}), 0x007F0000u, 0x005E0000u, 0x003F0000u);
    EXPECT_EQ(spriteState.depthCue, 128);
    expectThree(drawSize8(discAddUnclipped, 0, {.alpha = 128, .depthCue = 128}), 0x003F0000u, 0x002F0000u,
                0x001F0000u);
    expectThree(drawSize8(discAddUnclipped, 0, {.tint = 0x00808080}), 0x007F0000u, 0x005E0000u, 0x003F0000u);
    // Fog fades a multiply towards white.
    EXPECT_EQ(drawSize8(discMultiplyUnclipped, 0x00C8C8C8, {.colour = 0, .depthCue = 128}).centre, 0x00636363u);
    // Normal fades towards the background and keeps alpha as a per-pixel weight.
    backgroundColour = 0x00204060;
    EXPECT_EQ(drawSize8(discNormalUnclipped, 0, {.colour = 0x00FF8040, .depthCue = 128}).centre, 0x008F6050u);
    EXPECT_EQ(spriteState.depthCue, 128);
    EXPECT_EQ(drawSize8(discNormalUnclipped, 0x00FFFFFF, {.colour = 0, .alpha = 128}).centre, 0x007F7F7Fu);
}

// Only the centre pixel changes, by the whole colour: not by the one-pixel masks of sizes 1 to 4.
TEST_F(DiscTest, RadiusZeroBlendsOnePixelWithTheWholeColour) {
    struct Case {
        Routine routine;
        DiscLook look;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {discAddUnclipped, {.colour = 0x00402010}, 0x00C0A090},
        {discSubtractUnclipped, {.colour = 0x00402010}, 0x00406070},
        {discMultiplyUnclipped, {.colour = 0x00402010}, 0x00201008},
        {discNormalUnclipped, {.colour = 0xAB402010}, 0xAB402010},
        {discNormalUnclipped, {.colour = 0xAB402010, .alpha = 128}, 0x00605048},
    };
    for (int size = 1; size <= 4; ++size) {
        for (const Case& c : cases) {
            Canvas canvas(3, 3, 0x00808080);
            placeDisc(1, 1, size, c.look);
            ASSERT_EQ(spriteState.radius, 0);
            c.routine();
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 3; ++x) {
                    ASSERT_EQ(canvas.at(x, y), x == 1 && y == 1 ? c.expected : 0x00808080u) << size << " " << x << "," << y;
                }
            }
        }
    }
}

// Red added onto black shows the coverage of every pixel: 255, or 255 x v >> 8. Every pixel of
// the box, in all four quadrants, must show outer - hole + core at its distances from the centre,
// and covering nothing must leave it untouched.
TEST_F(DiscTest, AddedRedShowsTheMaskOfEveryPixelInAllFourQuadrants) {
    struct Shape {
        int size0, hole, core;
    };
    const Shape shapes[] = {{5, 0, 0},    {6, 0, 0},   {7, 0, 0},    {8, 0, 0},        {12, 0, 0},
                            {16, 0, 0},   {37, 0, 0},  {9, 7, 5},    {40, 24, 0},      {40, 24, 8},
                            {203, 97, 0}, {202, 0, 0}, {1020, 0, 0}, {1020, 1018, 600}};
    for (const Shape& shape : shapes) {
        const int r = test::radiusOfSize(shape.size0);
        const int side = 2 * r + 1;
        Canvas canvas(side, side, kUntouched, 2);
        placeDisc(r, r, shape.size0, {.innerSize1 = shape.hole, .innerSize2 = shape.core});
        discAddUnclipped();
        int mismatches = 0;
        for (int y = -2; y < side + 2; ++y) {
            for (int x = -2; x < side + 2; ++x) {
                const int i = std::abs(y - r);
                const int j = std::abs(x - r);
                int v = coverageOf(shape.size0, i, j);
                if (shape.hole != 0) v -= coverageOf(shape.hole, i, j);
                if (shape.core != 0) v += coverageOf(shape.core, i, j);
                std::uint32_t expected = kUntouched;
                if (canvas.inView(x, y) && v != 0) expected = static_cast<std::uint32_t>(v == 255 ? 255 : 255 * v >> 8) << 16;
                mismatches += canvas.at(x, y) != expected;
            }
        }
        EXPECT_EQ(mismatches, 0) << "size " << shape.size0 << " hole " << shape.hole << " core " << shape.core;
    }
}

TEST_F(DiscTest, RingLeavesItsHoleAndRefillsItsCore) {
    Canvas canvas(19, 19, kUntouched);
    placeDisc(9, 9, 40, {.innerSize1 = 24});
    discAddUnclipped();
    EXPECT_EQ(canvas.at(9, 9), kUntouched);
    EXPECT_EQ(canvas.at(13, 9), kUntouched);
    EXPECT_EQ(canvas.at(17, 9), 0x00FF0000u);
    // The inner edge is anti-aliased like the outer one.
    int partial = 0;
    for (int x = 9; x < 19; ++x) partial += canvas.at(x, 9) != kUntouched && canvas.at(x, 9) != 0x00FF0000u;
    EXPECT_GE(partial, 2);

    Canvas withCore(19, 19, kUntouched);
    placeDisc(9, 9, 40, {.innerSize1 = 24, .innerSize2 = 8});
    discAddUnclipped();
    EXPECT_EQ(withCore.at(9, 9), 0x00FF0000u);
    EXPECT_EQ(withCore.at(13, 9), kUntouched);
}

// With alpha 3 the mask byte 79 weighs 3 x 79 / 255 = 0 and ends its row; size 16's mask rows
// are 255 255 255 191 / 255 255 255 175 / 255 255 239 79 / 191 175 79 0.
TEST_F(DiscTest, NormalEndsARowWhereTheWeightComesToNothing) {
    Canvas canvas(7, 7, kUntouched);
    placeDisc(3, 3, 16, {.colour = 0x00FFFFFF, .alpha = 3});
    discNormalUnclipped();
    EXPECT_EQ(canvas.at(3 + 2, 3 + 2), 0x00010101u);  // 239: weight 2
    EXPECT_EQ(canvas.at(3 + 3, 3 + 2), kUntouched);   // 79: weight 0
    EXPECT_EQ(canvas.at(3 - 2, 3 - 3), kUntouched);
    EXPECT_EQ(canvas.at(3 + 3, 3), 0x00010101u);  // 191: weight 2
}

// In a ring the faint inner edge can end a row before the ring itself: the rest of that row stays
// as it was, although its coverage is full.
TEST_F(DiscTest, NormalRingRowCanEndAtTheHolesInnerEdge) {
    const int size0 = 80, hole = 44, alpha = 15;
    const int r = test::radiusOfSize(size0);
    Canvas canvas(2 * r + 1, 2 * r + 1, kUntouched);
    placeDisc(r, r, size0, {.colour = 0x00FFFFFF, .alpha = alpha, .innerSize1 = hole});
    discNormalUnclipped();
    int endedRows = 0;
    for (int i = 0; i <= r; ++i) {
        int j = 0;
        while (coverageOf(size0, i, j) - coverageOf(hole, i, j) == 0) ++j;
        const int v = coverageOf(size0, i, j) - coverageOf(hole, i, j);
        if (coverageOf(size0, i, j) != 255 || v * alpha / 255 != 0) continue;
        ++endedRows;
        for (int x = 0; x <= 2 * r; ++x) ASSERT_EQ(canvas.at(x, r + i), kUntouched) << "row " << i << " column " << x;
    }
    EXPECT_GT(endedRows, 0);  // the shape has such rows at all
    EXPECT_NE(canvas.at(r, 0), kUntouched);  // the rows beyond the hole are drawn
}

// Sizes beyond the largest mask draw at it, whether outer, hole or core, instead of reading
// past the table.
TEST_F(DiscTest, SizesAboveTheLargestMaskDrawAtIt) {
    const int side = 2 * 254 + 1;
    Canvas expected(side, side, kUntouched);
    placeDisc(254, 254, 1020, {.innerSize1 = 1020, .innerSize2 = 900});
    discSubtractUnclipped();
    const int huge[][3] = {{1021, 1020, 900}, {5000, 1100, 900}, {1 << 30, 1 << 29, 900}};
    for (const auto& sizes : huge) {
        Canvas canvas(side, side, kUntouched);
        placeDisc(254, 254, sizes[0], {.innerSize1 = sizes[1], .innerSize2 = sizes[2]});
        discSubtractUnclipped();
        int differ = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) differ += canvas.at(x, y) != expected.at(x, y);
        }
        EXPECT_EQ(differ, 0) << sizes[0];
    }
    expected.install();
    EXPECT_NE(expected.at(254, 254), kUntouched);  // the core
    EXPECT_EQ(expected.at(254 + 240, 254), kUntouched);  // hole and outer alike
}

// A state the dispatch never makes must still stay inside the mask and the view: a radius larger
// than the mask, inner sizes larger than the outer one, a box that misses the view.
TEST_F(DiscTest, InconsistentStateDrawsNothingOutsideTheMask) {
    Canvas canvas(9, 9, kUntouched, 2);
    placeDisc(4, 4, 8);
    spriteState.radius = 4;
    discAddUnclipped();
    EXPECT_EQ(canvas.at(3, 3), 0x007E0000u);
    EXPECT_EQ(canvas.at(2, 4), kUntouched);

    Canvas ring(9, 9, kUntouched, 2);
    placeDisc(4, 4, 8, {.innerSize1 = 0, .innerSize2 = 16});  // a core with no hole is dropped
    ringAddUnclipped();
    EXPECT_EQ(ring.at(4, 4), 0x00FF0000u);
    EXPECT_EQ(ring.at(3, 3), 0x007E0000u);

    Canvas missed(9, 9, kUntouched, 2);
    for (const int x : {-20, -2, 10, 30}) {
        placeDisc(x, 4, 8);  // beyond the left or right edge: placeSprite would not draw it
        discAddClipped();
        placeDisc(4, x, 8);
        discNormalClipped();
    }
    for (int y = -2; y < 11; ++y) {
        for (int x = -2; x < 11; ++x) ASSERT_EQ(missed.at(x, y), kUntouched) << x << "," << y;
    }
}

TEST_F(DiscTest, ReleasedMasksAreBuiltAgainBeforeADiscReadsThem) {
    releaseCircleMasks();
    expectThree(drawSize8(discAddUnclipped, 0, {}), 0x00FF0000u, 0x00BE0000u, 0x007E0000u);
    EXPECT_EQ(masksBuilt, 1);
}

TEST_F(DiscTest, FlatDiscStylesGetTheDiscRoutinesDefaultDrawingLikeNormal) {
    const DrawPair expected[] = {{discNormalClipped, discNormalUnclipped},
                                 {discNormalClipped, discNormalUnclipped},
                                 {discAddClipped, discAddUnclipped},
                                 {discSubtractClipped, discSubtractUnclipped},
                                 {discMultiplyClipped, discMultiplyUnclipped}};
    for (std::uint32_t mode = 0; mode < 5; ++mode) {
        const DrawPair pair = drawRoutinesFor(SpriteKind::Disc + mode, false);
        EXPECT_EQ(pair.clipped, expected[mode].clipped) << mode;
        EXPECT_EQ(pair.unclipped, expected[mode].unclipped) << mode;
    }
}

}  // namespace lw
