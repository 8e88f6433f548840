#include "sprites/gathered_texels.h"

#include <random>

#include "sprite_canvas.h"
#include "sprites/dispatch.h"
#include "sprites/sprite_tables.h"
#include "sprites/styles.h"
#include "test_support.h"

namespace lw {

class GatheredTexelsTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildSphereTable();  // the procedural spot images are made from it
        buildDivisionTable();
    }
    void TearDown() override {
        resetStyleTable();
        HostTest::TearDown();
    }

    // Draws the current style's spot at (x, y) with the given radius, reading the gathered
    // texels or the images.
    static void drawSpot(int x, int y, int radius, bool gathered) {
        SpriteState& s = spriteState;
        s.centreX = x;
        s.centreY = y;
        s.radius = radius;
        s.boxLeft = x - radius;
        s.boxRight = x + radius;
        s.boxTop = y - radius;
        s.boxBottom = y + radius;
        s.divisionRow = divisionTable + radius * kTableSide;
        s.images = currentStyle->images;
        s.gatheredTexels = gathered ? currentStyle->gatheredTexels : nullptr;
        s.alpha = 200;
        s.depthCue = 230;
        s.tint = 0x00FFC0A0;
        s.styleColour = 0x00E0D0FF;
        const bool inside = s.boxLeft >= 0 && s.boxTop >= 0 && s.boxRight <= viewMaxX && s.boxBottom <= viewMaxY;
        (inside ? currentStyle->drawUnclipped : currentStyle->drawClipped)();
    }
};

// Every spot family draws the same pixels from the gathered texels as from the images, at every
// gathered radius and one beyond, inside the view and across its edges.
TEST_F(GatheredTexelsTest, SpotsDrawTheSamePixelsEitherWay) {
    std::mt19937 random(7);
    for (std::uint32_t kind : {0x30001u, 0x30002u, 0x30003u, 0x30004u}) {
        selectStyle(1);
        setupStyle(*currentStyle, kind, 0xFFFFFFFF, L"");
        // Random texels with end markers sprinkled in, so rows end at different places.
        for (auto* image : currentStyle->images) {
            for (int i = 0; i < kImageSide * kImageSide; ++i) {
                const std::uint32_t marker = kind == 0x30004u ? 0x00FFFFFFu : 0u;
                image[i] = random() % 9 == 0 ? marker : static_cast<std::uint32_t>(random());
            }
        }
        gatherSpriteTexels(*currentStyle);
        ASSERT_NE(currentStyle->gatheredTexels, nullptr);
        for (int radius = 0; radius <= kGatheredRadius + 1; ++radius) {
            for (const auto& [x, y] : {std::pair{20, 20}, std::pair{2, 3}, std::pair{38, 1}}) {
                test::Canvas fromImages(40, 40, 0x00406080);
                drawSpot(x, y, radius, false);
                test::Canvas fromGathered(40, 40, 0x00406080);
                drawSpot(x, y, radius, true);
                for (int py = 0; py < 40; ++py) {
                    for (int px = 0; px < 40; ++px) {
                        ASSERT_EQ(fromImages.at(px, py), fromGathered.at(px, py))
                            << "kind " << std::hex << kind << std::dec << " radius " << radius << " at " << px
                            << "," << py;
                    }
                }
            }
        }
    }
}

TEST_F(GatheredTexelsTest, StylesOwnTheirGatheredTexels) {
    selectStyle(2);
    setupStyle(*currentStyle, 0x30002, 0xFFFFFFFF, L"");
    const std::uint32_t* first = currentStyle->gatheredTexels;
    ASSERT_NE(first, nullptr);
    // Texel (0, 0) of every quadrant at radius 0 is the image's centre texel.
    for (int n = 0; n < 4; ++n) EXPECT_EQ(first[n * kGatheredPerQuadrant], currentStyle->images[n][0]);

    copyStyle(2, 3);  // the copy gathers its own; freeing both must not free one twice
    EXPECT_NE(currentStyle->gatheredTexels, nullptr);
    EXPECT_NE(currentStyle->gatheredTexels, first);
    setupStyle(*currentStyle, 0x10000, 0xFFFFFFFF, L"");  // a point keeps no images and no texels
    EXPECT_EQ(currentStyle->gatheredTexels, nullptr);

    freeDivisionTable();
    selectStyle(4);
    setupStyle(*currentStyle, 0x30002, 0xFFFFFFFF, L"");
    EXPECT_EQ(currentStyle->gatheredTexels, nullptr);  // without the table its sprites read the images
}

}  // namespace lw
