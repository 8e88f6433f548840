#include "sprites/sprite_images.h"

#include "sprite_fixtures.h"
#include "sprites/sprite_tables.h"
#include "test_support.h"

namespace lw {

namespace {

class SpriteImagesTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildSphereTable();
    }
};

}  // namespace

TEST_F(SpriteImagesTest, BallIsLitFromTheUpperLeftWithAFaintBackLight) {
    test::ImageStyle ball(SpriteKind::Ball, 0xFFFFFFFF);
    buildBallImages(ball.style);
    EXPECT_EQ(ball.texel(0, 100, 100), 0xFFFCFCFCu);  // facing the light
    EXPECT_EQ(ball.texel(3, 100, 100), 0xFF202020u);  // facing away: the ambient eighth
    EXPECT_EQ(ball.texel(0, 0, 255), 0xFFB4B4B4u);    // left rim
    EXPECT_EQ(ball.texel(1, 0, 255), 0xFF484848u);    // right rim, in the back light
    EXPECT_EQ(ball.texel(1, 100, 100), ball.texel(2, 100, 100));  // both halfway round
    test::ImageStyle blue(SpriteKind::Ball, 0xFF0000FF);
    buildBallImages(blue.style);
    // The centre faces the viewer: g = 1/sqrt(3) lights it to 0.6632 of the colour.
    EXPECT_EQ(blue.texel(2, 0, 0), 0xFF0000A9u);
    EXPECT_EQ(blue.texel(2, 200, 200), 0u);  // outside texels keep the fill
}

TEST_F(SpriteImagesTest, SpotFallsFromItsColourAtTheCentreToBlackAtTheRim) {
    test::ImageStyle spot(0x30002, 0xFF80C0FF);
    buildSpotImages(spot.style);
    EXPECT_EQ(spot.texel(1, 0, 0), 0xFF80C0FFu);
    EXPECT_EQ(spot.texel(2, 128, 0), 0xFF2A3F54u);  // m = 0.3307
    EXPECT_EQ(spot.texel(3, 0, 255), 0xFF000000u);  // on the outline: black, yet inside
    EXPECT_EQ(spot.texel(0, 200, 200), 0u);         // outside: the fill, which ends a row
}

}  // namespace lw
