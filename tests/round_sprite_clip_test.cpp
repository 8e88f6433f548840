// Clipping must be invisible for the ball and textured disc routines too: a sprite that crosses
// the view's edges draws exactly what the unclipped routine draws into a frame large enough for
// the whole sprite, cropped to the view, and nothing outside it; for balls the depth buffer is
// compared the same way.
#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "depth_canvas.h"
#include "round_sprite_support.h"
#include "sprite_canvas.h"
#include "sprites/ball_routines.h"
#include "sprites/textured_disc_routines.h"
#include "sprites/sprite_tables.h"
#include "test_support.h"

namespace lw {

namespace {

using test::Canvas;
using test::DepthCells;
using test::QuadrantImages;
using test::SpriteLook;

struct Family {
    const char* name;
    void (*clipped)();
    void (*unclipped)();
    bool usesDepth;
};

const Family kFamilies[] = {
    {"Ball", ballClipped, ballUnclipped, true},
    {"Normal", texturedNormalClipped, texturedNormalUnclipped, false},
    {"Add", texturedAddClipped, texturedAddUnclipped, false},
    {"Subtract", texturedSubtractClipped, texturedSubtractUnclipped, false},
    {"Multiply", texturedMultiplyClipped, texturedMultiplyUnclipped, false},
};

const SpriteLook kLooks[] = {{}, {.alpha = 150, .depthCue = 200, .tint = 0x00C08040}};

constexpr int kViewWidth = 40;
constexpr int kViewHeight = 30;
constexpr std::uint32_t kUntouched = 0xA5A5A5A5;
constexpr std::int32_t kUntouchedDepth = 0x15A5A5A5;

// Old depths around the sprite's own, so that some pixels are hidden and some seamed.
std::int32_t depthAt(int x, int y, int r) {
    return static_cast<std::int32_t>(test::scrambled(x, y, 77) % static_cast<std::uint32_t>(16 * r + 40)) - 8 * r - 20;
}

void paintOld(Canvas& canvas, DepthCells& depths, int offset, int r) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            canvas.at(x, y) = test::scrambled(x - offset, y - offset);
            depths.at(x, y) = depthAt(x - offset, y - offset, r);
        }
    }
}

// Centres beyond each edge and corner, on them, and inside, for one axis of the view.
std::vector<int> centresAlong(int size, int r) {
    std::vector<int> c = {-r, -r + 1, -r / 2, -1, 0, 1, size / 2, size - 2, size - 1, size, size - 1 + r / 2, size - 1 + r};
    std::sort(c.begin(), c.end());
    c.erase(std::unique(c.begin(), c.end()), c.end());
    return c;
}

class RoundSpriteClipTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildSphereTable();
        buildDivisionTable();
        backgroundColour = 0x00102030;
    }
};

}  // namespace

TEST_F(RoundSpriteClipTest, ClippedSpriteIsTheWholeSpriteCroppedToTheView) {
    std::mt19937 random(9);
    QuadrantImages images;
    images.fill([&](int, int, int) { return static_cast<std::uint32_t>(random()); });
    for (const Family& family : kFamilies) {
        for (int r : {1, 2, 5, 17, 45}) {  // 45: wider than the view, clipped on both sides
            const int margin = r + 1;
            Canvas view(kViewWidth, kViewHeight, kUntouched, margin);
            DepthCells viewDepths(view, kUntouchedDepth);
            Canvas whole(kViewWidth + 4 * r, kViewHeight + 4 * r, 0);
            DepthCells wholeDepths(whole, 0);
            for (const SpriteLook& look : kLooks) {
                for (int y : centresAlong(kViewHeight, r)) {
                    for (int x : centresAlong(kViewWidth, r)) {
                        paintOld(whole, wholeDepths, 2 * r, r);
                        whole.install();
                        wholeDepths.install();
                        test::placeRoundSprite(x + 2 * r, y + 2 * r, r, images, look);
                        family.unclipped();

                        paintOld(view, viewDepths, 0, r);
                        view.install();
                        viewDepths.install();
                        test::placeRoundSprite(x, y, r, images, look);
                        family.clipped();

                        for (int vy = -margin; vy < kViewHeight + margin; ++vy) {
                            for (int vx = -margin; vx < kViewWidth + margin; ++vx) {
                                const bool in = view.inView(vx, vy);
                                ASSERT_EQ(view.at(vx, vy), in ? whole.at(vx + 2 * r, vy + 2 * r) : kUntouched)
                                    << family.name << " radius " << r << " alpha " << look.alpha << " centre " << x << ","
                                    << y << " pixel " << vx << "," << vy;
                                if (!family.usesDepth) continue;
                                ASSERT_EQ(viewDepths.at(vx, vy), in ? wholeDepths.at(vx + 2 * r, vy + 2 * r) : kUntouchedDepth)
                                    << family.name << " depth, radius " << r << " centre " << x << "," << y << " pixel "
                                    << vx << "," << vy;
                            }
                        }
                    }
                }
            }
        }
    }
}

// placeSprite never hands on such a box, but a clipped routine given one must not run past the
// sprite looking for the view.
TEST_F(RoundSpriteClipTest, BoxBesideTheViewDrawsNothing) {
    QuadrantImages images;
    images.fill([](int, int, int) { return 0x00FFFFFFu; });
    Canvas view(10, 10, 0, 12);
    DepthCells depths(view, depthClearValue);
    for (const Family& family : kFamilies) {
        for (auto [x, y] : {std::pair{-11, 5}, {20, 5}, {5, -11}, {5, 20}, {-11, -11}}) {
            test::placeRoundSprite(x, y, 10, images);
            family.clipped();
        }
    }
    for (int y = -12; y < 22; ++y) {
        for (int x = -12; x < 22; ++x) {
            ASSERT_EQ(view.at(x, y), 0u) << x << "," << y;
            ASSERT_EQ(depths.at(x, y), depthClearValue) << x << "," << y;
        }
    }
}

}  // namespace lw
