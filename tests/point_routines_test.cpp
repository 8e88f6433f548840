#include "sprites/point_routines.h"

#include <cstdint>

#include "sprite_canvas.h"
#include "sprites/ball_routines.h"
#include "sprites/dispatch.h"
#include "sprites/draw_routines.h"
#include "sprites/textured_disc_routines.h"
#include "test_support.h"

namespace lw {

namespace {

using test::Canvas;

class PointTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        viewScale = 1.0;
        backgroundColour = 0;
        style.kind = SpriteKind::Point;
        style.colour = 0x80FFFFFF;
        style.drawClipped = linkDrawError;
        style.drawUnclipped = plotPoint;
        spriteState.size2 = 1;
        spriteState.depthCue = 255;
        spriteState.tint = 0xFFFFFF;
    }
    PBall style;
};

}  // namespace

TEST_F(PointTest, PointWritesItsColourFadedTowardTheBackground) {
    Canvas canvas(4, 3, 0x00123456, 1);
    placePoint(style, 2, 1);
    EXPECT_EQ(canvas.at(2, 1), 0x80FFFFFFu) << "the style colour word as it stands, alpha ignored";

    spriteState.depthCue = 128;
    spriteState.tint = 0xFFFFFF;
    placePoint(style, 1, 1);
    EXPECT_EQ(canvas.at(1, 1), lerpColour(0, 0xFFFFFF, 128));
    EXPECT_EQ(canvas.at(1, 1), 0x007F7F7Fu);

    backgroundColour = 0x000000FF;
    spriteState.tint = 0x00FF0000;  // the particle's colour times the style's
    placePoint(style, 0, 2);
    EXPECT_EQ(canvas.at(0, 2), 0x007F007Fu);

    int changed = 0;
    for (int y = -1; y <= 3; ++y) {
        for (int x = -1; x <= 4; ++x) changed += canvas.at(x, y) != 0x00123456u;
    }
    EXPECT_EQ(changed, 3);
}

// Off the view on any side, nothing is written: column and row -1 are compared as unsigned.
TEST_F(PointTest, PointsOffTheViewAreRejected) {
    Canvas canvas(4, 3, 0x00123456, 2);
    for (auto [x, y] : {std::pair{-1.6, 1.0}, {1.0, -1.6}, {4.0, 1.0}, {1.0, 3.0}, {-2.0, -2.0}, {-1e12, 1.0}}) {
        placePoint(style, x, y);
    }
    placePoint(style, -0.7, 0.0);  // rounds to column 0
    for (int y = -2; y < 5; ++y) {
        for (int x = -2; x < 6; ++x) {
            EXPECT_EQ(canvas.at(x, y), x == 0 && y == 0 ? 0x80FFFFFFu : 0x00123456u) << x << "," << y;
        }
    }
}

TEST_F(PointTest, RoutineTableGivesPointsBallsAndTexturedDiscsTheirRoutines) {
    struct Case {
        std::uint32_t kind;
        bool hasImages;
        DrawRoutine clipped;
        DrawRoutine unclipped;
    };
    const DrawRoutine error = linkDrawError;
    const Case cases[] = {
        {0x10000, false, error, plotPoint},
        {0x10001, false, error, plotPoint},
        {0x10003, false, error, error},
        {0x20000, true, ballClipped, ballUnclipped},
        {0x20001, true, ballClipped, ballUnclipped},
        {0x20004, true, error, error},
        {0x40000, true, texturedNormalClipped, texturedNormalUnclipped},
        {0x40001, true, texturedNormalClipped, texturedNormalUnclipped},
        {0x40002, true, texturedAddClipped, texturedAddUnclipped},
        {0x40003, true, texturedSubtractClipped, texturedSubtractUnclipped},
        {0x40004, true, texturedMultiplyClipped, texturedMultiplyUnclipped},
        {0x40005, true, error, error},
    };
    for (const Case& c : cases) {
        const DrawPair pair = drawRoutinesFor(c.kind, c.hasImages);
        EXPECT_EQ(pair.clipped, c.clipped) << std::hex << c.kind;
        EXPECT_EQ(pair.unclipped, c.unclipped) << std::hex << c.kind;
    }
}

}  // namespace lw
