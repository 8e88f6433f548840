// Clipping must be invisible: a spot that crosses the view's edges draws exactly the pixels the
// unclipped routine draws into a frame large enough for the whole spot, cropped to the view, and
// nothing outside the view.
#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "sprite_canvas.h"
#include "sprites/dispatch.h"
#include "sprites/spot_routines.h"
#include "sprites/sprite_tables.h"
#include "test_support.h"

namespace lw {

namespace {

using test::Canvas;
using test::QuadrantImages;

struct Family {
    const char* name;
    void (*clipped)();
    void (*unclipped)();
    std::uint32_t endMarker;
};

const Family kFamilies[] = {
    {"Add", spotAddClipped, spotAddUnclipped, 0},
    {"Subtract", spotSubtractClipped, spotSubtractUnclipped, 0},
    {"Multiply", spotMultiplyClipped, spotMultiplyUnclipped, 0x00FFFFFF},
    {"Normal", spotNormalClipped, spotNormalUnclipped, 0},
};

struct Look {
    int alpha;
    int depthCue;
    std::uint32_t tint;
};
const Look kLooks[] = {{255, 255, 0xFFFFFF}, {150, 200, 0x00C08040}};

constexpr int kViewWidth = 40;
constexpr int kViewHeight = 30;
constexpr std::uint32_t kUntouched = 0xA5A5A5A5;

// The frame's pixels before drawing, the same at the same view position in both frames.
std::uint32_t backgroundAt(int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    return h ^ (h >> 15);
}

void paintBackground(Canvas& canvas, int offset) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) canvas.at(x, y) = backgroundAt(x - offset, y - offset);
    }
}

// Centres beyond each edge and corner, on them, and inside, for one axis of the view.
std::vector<int> centresAlong(int size, int r) {
    std::vector<int> c = {-r, -r + 1, -r / 2, -1, 0, 1, size / 2, size - 2, size - 1, size, size - 1 + r / 2, size - 1 + r};
    std::sort(c.begin(), c.end());
    c.erase(std::unique(c.begin(), c.end()), c.end());
    return c;
}

void placeAt(int x, int y, int r, const QuadrantImages& images, const Look& look) {
    SpriteState& s = spriteState;
    s.centreX = x;
    s.centreY = y;
    s.radius = r;
    s.boxLeft = x - r;
    s.boxRight = x + r;
    s.boxTop = y - r;
    s.boxBottom = y + r;
    s.divisionRow = divisionTable + r * kTableSide;
    s.images = images.images;
    s.alpha = look.alpha;
    s.depthCue = look.depthCue;
    s.tint = look.tint;
    s.styleColour = 0x0060C0F0;
}

// Random texels with one in 30 the family's end marker, so rows stop at varying columns.
void fillRandom(QuadrantImages& images, std::uint32_t endMarker, unsigned seed) {
    std::mt19937 random(seed);
    images.fill([&](int, int, int) { return random() % 30 == 0 ? endMarker : static_cast<std::uint32_t>(random()); });
}

class SpotClipTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildDivisionTable();
        backgroundColour = 0x00102030;
    }
    void TearDown() override {
        resetSpriteTableState();
        HostTest::TearDown();
    }
};

}  // namespace

TEST_F(SpotClipTest, ClippedSpotIsTheWholeSpotCroppedToTheView) {
    QuadrantImages images;
    unsigned seed = 1;
    for (const Family& family : kFamilies) {
        fillRandom(images, family.endMarker, seed++);
        for (int r : {1, 3, 17, 60}) {
            const int margin = r + 1;
            Canvas view(kViewWidth, kViewHeight, kUntouched, margin);
            Canvas whole(kViewWidth + 4 * r, kViewHeight + 4 * r, 0);
            for (const Look& look : kLooks) {
                for (int y : centresAlong(kViewHeight, r)) {
                    for (int x : centresAlong(kViewWidth, r)) {
                        paintBackground(whole, 2 * r);
                        whole.install();
                        placeAt(x + 2 * r, y + 2 * r, r, images, look);
                        family.unclipped();

                        paintBackground(view, 0);
                        view.install();
                        placeAt(x, y, r, images, look);
                        family.clipped();

                        for (int vy = -margin; vy < kViewHeight + margin; ++vy) {
                            for (int vx = -margin; vx < kViewWidth + margin; ++vx) {
                                const std::uint32_t expected =
                                    view.inView(vx, vy) ? whole.at(vx + 2 * r, vy + 2 * r) : kUntouched;
                                ASSERT_EQ(view.at(vx, vy), expected)
                                    << family.name << " radius " << r << " alpha " << look.alpha << " centre " << x
                                    << "," << y << " pixel " << vx << "," << vy;
                            }
                        }
                    }
                }
            }
        }
    }
}

}  // namespace lw
