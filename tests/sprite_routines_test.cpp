// The draw routines against themselves and against worked values. The reference pictures (the
// gallery, the scene, the textured spots) hold the routines' exact pixels; here the properties
// that keep holding when a sprite is cut: by the view's edges and by the rows of a band, and when
// a spot is drawn from its table instead of its images.
#include <random>

#include "raster/depth_buffer.h"
#include "sprite_fixtures.h"
#include "sprites/blends.h"
#include "sprites/circle_masks.h"
#include "test_support.h"

namespace lw {

namespace {

class SpriteRoutinesTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildDivisionTable();
        buildSphereTable();
        buildCircleMasks();
        // Texels with end markers and dark gaps inside rows, so rows end early and unevenly.
        images.fill([](int q, int row, int column) -> std::uint32_t {
            const std::uint32_t h = test::Canvas::scrambled(static_cast<std::uint32_t>(row * 256 + column), q);
            if (h % 23 == 0) return 0;
            if (h % 29 == 0) return 0x00FFFFFFu;
            return h | 0x01010101u;
        });
        keepSpotTables(images.style);
    }

    test::ImageStyle images{0, 0};
};

// The whole sprite, drawn where it fits from its images, is the reference; cut to any rectangle
// (a band's rows, the view's columns) it must draw exactly the reference's pixels inside and
// nothing outside, from its images and (every second spot) from its table.
TEST_F(SpriteRoutinesTest, ACutSpriteDrawsExactlyTheWholeSpritesPixelsInsideTheCut) {
    std::mt19937 random(7);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (const test::RoutineCase& c : test::routineCases()) {
        images.style.kind = c.kind;  // the blend mode its tables are made for
        for (int n = 0; n < 40; ++n) {
            const int r = n < 4 ? n : pick(0, 30);
            SpriteRecord s = test::recordOf(c, images, 40, 40, r);
            s.alpha = pick(0, 3) == 0 ? pick(1, 254) : 255;
            s.depthCue = pick(0, 3) == 0 ? pick(1, 254) : 255;
            s.tint = pick(0, 2) == 0 ? 0x80C0FFu : 0xFFFFFFu;
            s.depth = pick(-3000, 3000);
            if (!c.images && pick(0, 1) == 0) {
                s.innerSize1 = pick(0, s.size0 - 2);
                s.innerSize2 = pick(0, s.innerSize1);
            }
            test::Canvas whole(81, 81, n);
            s.draw(s, whole.whole());
            const bool edge = n % 4 == 2;  // the cut ends at a table row's last chunk, or one column short
            const int left = pick(0, edge ? 40 - r : 80), right = edge ? 42 + r + n % 8 / 4 : pick(left, 80);
            const int top = pick(0, 80), bottom = pick(top, 80);
            test::Canvas cut(81, 81, n);
            SpriteRecord tabled = s;
            if (spriteKindOf(c.kind) == SpriteKind::Spot && n % 2 == 0) {
                tabled.spotTable = spotTableFor(images.style, r);
                ASSERT_NE(tabled.spotTable, nullptr);
            }
            tabled.draw(tabled, cut.target(left, top, right, bottom));
            // Within the cut's columns the unclipped routine draws the same rows.
            test::Canvas rows(81, 81, n);
            c.routines.unclipped(tabled, rows.target(0, top, 80, bottom));
            const test::Canvas untouched(81, 81, n);
            for (int y = 0; y < 81; ++y) {
                for (int x = 0; x < 81; ++x) {
                    const bool inRows = y >= top && y <= bottom;
                    const test::Canvas& expected = inRows && x >= left && x <= right ? whole : untouched;
                    ASSERT_EQ(cut.at(x, y), expected.at(x, y)) << c.name << " r=" << r << " at " << x << "," << y;
                    ASSERT_EQ(cut.depthAt(x, y), expected.depthAt(x, y)) << c.name << " r=" << r;
                    ASSERT_EQ(rows.at(x, y), (inRows ? whole : untouched).at(x, y)) << c.name << " unclipped r=" << r;
                }
            }
        }
    }
}

// A ball hides behind what is nearer (smaller depth) and writes its own depth; at the same depth
// it leaves the pixel as it is.
TEST_F(SpriteRoutinesTest, BallsTestAndWriteDepth) {
    const test::RoutineCase ball = test::routineCases().front();
    ASSERT_EQ(ball.kind, SpriteKind::Ball | 1u);
    SpriteRecord near = test::recordOf(ball, images, 20, 20, 12);
    SpriteRecord far = near;
    far.depth = 4000;
    test::Canvas nearOnly(41, 41);
    nearOnly.fillDepth(depthClearValue);
    near.draw(near, nearOnly.whole());
    EXPECT_NE(nearOnly.depthAt(20, 20), depthClearValue);
    test::Canvas both(41, 41);
    both.fillDepth(depthClearValue);
    for (const SpriteRecord* s : {&near, &far, &near}) s->draw(*s, both.whole());
    EXPECT_TRUE(both == nearOnly);
}

}  // namespace

// Tables stay while a sprite of this frame uses them; past the bound the longest unused go first,
// and a table that cannot fit is not made (its sprites draw from the images).
TEST_F(SpriteRoutinesTest, SpotTablesKeepWithinTheirBoundFreeingTheLongestUnused) {
    images.style.kind = 0x30001;  // Normal spots: tables of weights
    const std::size_t oldest = spotTableFor(images.style, 8)->bytes;
    beginSpotTableFrame();
    const SpotTable* kept = spotTableFor(images.style, 7);
    ASSERT_EQ(spotTableBytes(), oldest + kept->bytes);
    spotTableBudget = spotTableBytes() + 1;
    beginSpotTableFrame();
    ASSERT_EQ(spotTableFor(images.style, 7), kept);
    const SpotTable* made = spotTableFor(images.style, 6);  // radius 8, unused longest, goes
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(spotTableBytes(), kept->bytes + made->bytes);
    EXPECT_EQ(spotTableFor(images.style, 40), nullptr);  // 7 and 6 are this frame's
    EXPECT_EQ(spotTableFor(images.style, 7), kept);
}

}  // namespace lw
