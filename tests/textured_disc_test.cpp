#include "sprites/textured_disc_routines.h"

#include <cstdint>
#include <random>
#include <string>

#include "round_sprite_support.h"
#include "sprite_canvas.h"
#include "sprites/combine.h"
#include "sprites/sprite_tables.h"
#include "test_support.h"

namespace lw {

namespace {

using test::Canvas;
using test::QuadrantImages;
using test::SpriteLook;

using Routine = void (*)();
using Combine = void (*)(Colour&, Colour);

struct Mode {
    const char* name;
    Routine clipped;
    Routine unclipped;
    Combine combine;
    bool foldsAlpha;
};

const Mode kModes[] = {
    {"Normal", texturedNormalClipped, texturedNormalUnclipped, normalTexel, false},
    {"Add", texturedAddClipped, texturedAddUnclipped, addTexel, true},
    {"Subtract", texturedSubtractClipped, texturedSubtractUnclipped, subtractTexel, true},
    {"Multiply", texturedMultiplyClipped, texturedMultiplyUnclipped, multiplyTexel, true},
};

class TexturedDiscTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildSphereTable();
        buildDivisionTable();
        backgroundColour = 0x00102030;
    }
    // The combine of one texel as the routine applies it, given the sprite's look and coverage.
    static Colour combined(const Mode& mode, const SpriteLook& look, int coverage, Colour pixel, Colour texel) {
        spriteState.alpha = look.alpha;
        spriteState.depthCue = mode.foldsAlpha ? look.alpha * look.depthCue / 255 : look.depthCue;
        spriteState.tint = look.tint;
        spriteState.coverage = coverage;
        mode.combine(pixel, texel);
        return pixel;
    }
};

// The edge coverage of a disc pixel whose sphere entry is e, by the rule of the soft outline;
// -1 outside the drawn outline.
int coverageOf(const SphereEntry& e, int size2) {
    if (e.height == 0) return -1;
    if (size2 == 2) return 255;
    const int v = size2 * e.height >> 8;
    if (v == 0) return -1;
    if (e.shade <= 1) return 255;
    return v / e.shade >= 8 ? 255 : v / e.shade * 32;
}

}  // namespace

TEST_F(TexturedDiscTest, RadiusZeroCombinesTheCentreTexelWholeInEveryMode) {
    QuadrantImages images;
    images.fill([](int q, int, int) { return 0x00101010u * static_cast<std::uint32_t>(q + 2); });
    images.texel(0, 0, 0) = 0x80C06030;
    const SpriteLook look{.alpha = 200, .depthCue = 180, .tint = 0x00F0E0D0};
    for (const Mode& mode : kModes) {
        Canvas canvas(3, 3, 0x00808080, 1);
        test::placeRoundSprite(1, 1, 0, images, look);
        mode.unclipped();
        const Colour expected = combined(mode, look, 255, 0x00808080, 0x80C06030);
        for (int y = -1; y <= 3; ++y) {
            for (int x = -1; x <= 3; ++x) {
                EXPECT_EQ(canvas.at(x, y), x == 1 && y == 1 ? expected : 0x00808080u) << mode.name << " " << x << "," << y;
            }
        }
    }
    // Each its own operation: 80 80 80 against C0 60 30 tinted and dimmed.
    Canvas canvas(1, 1, 0x00808080);
    test::placeRoundSprite(0, 0, 0, images);
    texturedAddUnclipped();
    EXPECT_EQ(canvas.at(0, 0), 0x00FFE0B0u);
    canvas.at(0, 0) = 0x00808080;
    texturedSubtractUnclipped();
    EXPECT_EQ(canvas.at(0, 0), 0x00002050u);
    canvas.at(0, 0) = 0x00808080;
    texturedMultiplyUnclipped();
    EXPECT_EQ(canvas.at(0, 0), 0x00603018u);
    canvas.at(0, 0) = 0x00808080;
    texturedNormalUnclipped();
    EXPECT_EQ(canvas.at(0, 0), 0x80C06030u);
}

TEST_F(TexturedDiscTest, AlphaIsFoldedIntoTheDepthCueExceptForNormal) {
    QuadrantImages images;
    images.fill([](int, int, int) { return 0x00FFFFFFu; });
    Canvas canvas(1, 1, 0);
    test::placeRoundSprite(0, 0, 0, images, {.alpha = 128, .tint = 0x00FF8000});
    texturedAddUnclipped();
    EXPECT_EQ(spriteState.depthCue, 128);
    EXPECT_EQ(canvas.at(0, 0), 0x007F3F00u) << "half the tinted texel FE7F00";

    canvas.at(0, 0) = 0x00FFFFFF;
    test::placeRoundSprite(0, 0, 0, images, {.alpha = 128, .depthCue = 128});
    texturedMultiplyUnclipped();
    EXPECT_EQ(spriteState.depthCue, 64);

    canvas.at(0, 0) = 0;
    test::placeRoundSprite(0, 0, 0, images, {.alpha = 128});
    texturedNormalUnclipped();
    EXPECT_EQ(spriteState.depthCue, 255);
    EXPECT_EQ(canvas.at(0, 0), 0x007F7F7Fu) << "alpha mixes with the old pixel instead";
}

// Every mode against a pixel-by-pixel model: each pixel of the box reads the texel and sphere
// entry of its quadrant at the scaled distances and is combined with the coverage of its entry;
// pixels outside the outline keep their value. Radius 1 is the two-pixel-wide disc without a
// soft edge; with the plain look a Normal disc copies its texel words unchanged.
TEST_F(TexturedDiscTest, UnclippedDiscMatchesThePixelModel) {
    std::mt19937 random(5);
    QuadrantImages images;
    images.fill([&](int, int, int) { return static_cast<std::uint32_t>(random()); });
    const SpriteLook looks[] = {{}, {.alpha = 150, .depthCue = 200, .tint = 0x00C08040}};
    int softPixels = 0;
    for (const Mode& mode : kModes) {
        for (int r : {1, 2, 3, 7, 30, 128, 254}) {
            for (const SpriteLook& look : looks) {
                const int side = 2 * r + 1;
                Canvas canvas(side, side, 0x5A5A5A5A, 2);
                for (int y = 0; y < side; ++y) {
                    for (int x = 0; x < side; ++x) canvas.at(x, y) = test::scrambled(x, y);
                }
                test::placeRoundSprite(r, r, r, images, look);
                mode.unclipped();
                for (int y = -2; y < side + 2; ++y) {
                    for (int x = -2; x < side + 2; ++x) {
                        Colour expected = 0x5A5A5A5A;
                        if (canvas.inView(x, y)) {
                            expected = test::scrambled(x, y);
                            const test::TexelSpot t = test::texelSpotOf(x - r, y - r, r);
                            const int coverage = coverageOf(test::sphereAt(t), r + 1);
                            if (coverage >= 0) {
                                expected = combined(mode, look, coverage, expected, images.texel(t.quadrant, t.row, t.column));
                            }
                            softPixels += coverage >= 0 && coverage < 255;
                        }
                        ASSERT_EQ(canvas.at(x, y), expected)
                            << mode.name << " radius " << r << " alpha " << look.alpha << " at " << x << "," << y;
                    }
                }
            }
        }
    }
    EXPECT_GT(softPixels, 1000) << "the model never reached the soft edge";
}

TEST_F(TexturedDiscTest, MissingInputsAreFatal) {
    const std::wstring message = L"PSI: textured disc drawn without its images or sprite tables";
    QuadrantImages images;
    Canvas canvas(5, 5, 0);
    test::placeRoundSprite(2, 2, 2, images);
    spriteState.images[1] = nullptr;
    EXPECT_TRUE(test::endsInFatalError(texturedAddUnclipped, message));
    test::placeRoundSprite(2, 2, 2, images);
    spriteState.divisionRow = nullptr;
    EXPECT_TRUE(test::endsInFatalError(texturedNormalClipped, message));
    test::placeRoundSprite(2, 2, 2, images);
    freeSphereTable();
    EXPECT_TRUE(test::endsInFatalError(texturedMultiplyUnclipped, message));
}

}  // namespace lw
