// Clipping must be invisible: a disc or ring that crosses the view's edges draws exactly the
// pixels the unclipped routine draws into a frame large enough for the whole sprite, cropped to
// the view, and nothing outside the view.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "disc_test_support.h"
#include "sprite_canvas.h"
#include "sprites/circle_masks.h"
#include "sprites/disc_routines.h"
#include "test_support.h"

namespace lw {

namespace {

using test::Canvas;
using test::DiscLook;

struct Pair {
    const char* name;
    void (*clipped)();
    void (*unclipped)();
};

const Pair kDiscs[] = {
    {"discNormal", discNormalClipped, discNormalUnclipped},
    {"discAdd", discAddClipped, discAddUnclipped},
    {"discSubtract", discSubtractClipped, discSubtractUnclipped},
    {"discMultiply", discMultiplyClipped, discMultiplyUnclipped},
};
const Pair kRings[] = {
    {"ringNormal", ringNormalClipped, ringNormalUnclipped},
    {"ringAdd", ringAddClipped, ringAddUnclipped},
    {"ringSubtract", ringSubtractClipped, ringSubtractUnclipped},
    {"ringMultiply", ringMultiplyClipped, ringMultiplyUnclipped},
};

// Opaque; faded, tinted and half transparent; and so faint that a ring's inner edge ends Normal
// rows before the ring does.
const DiscLook kLooks[] = {
    {.colour = 0x00F0C060},
    {.colour = 0x0060C0F0, .alpha = 150, .depthCue = 200, .tint = 0x00C08040},
    {.colour = 0x00FFFFFF, .alpha = 12},
};

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
    std::vector<int> c = {-r, -r / 2, -1, 0, size / 2, size - 1, size, size - 1 + r / 2, size - 1 + r};
    std::sort(c.begin(), c.end());
    c.erase(std::unique(c.begin(), c.end()), c.end());
    return c;
}

class DiscClipTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildCircleMasks();
        backgroundColour = 0x00102030;
    }

    // Draws the sprite whole and clipped at every centre; false after reporting the first pixel
    // that differs.
    static bool clipsInvisibly(const Pair& pair, int size0, const DiscLook& look) {
        const int r = test::radiusOfSize(size0);
        const int margin = r + 1;
        Canvas view(kViewWidth, kViewHeight, kUntouched, margin);
        Canvas whole(kViewWidth + 4 * r, kViewHeight + 4 * r, 0);
        for (int y : centresAlong(kViewHeight, r)) {
            for (int x : centresAlong(kViewWidth, r)) {
                paintBackground(whole, 2 * r);
                whole.install();
                test::placeDisc(x + 2 * r, y + 2 * r, size0, look);
                pair.unclipped();

                paintBackground(view, 0);
                view.install();
                test::placeDisc(x, y, size0, look);
                pair.clipped();

                for (int vy = -margin; vy < kViewHeight + margin; ++vy) {
                    for (int vx = -margin; vx < kViewWidth + margin; ++vx) {
                        const std::uint32_t expected = view.inView(vx, vy) ? whole.at(vx + 2 * r, vy + 2 * r) : kUntouched;
                        if (view.at(vx, vy) == expected) continue;
                        ADD_FAILURE() << pair.name << " size " << size0 << " hole " << look.innerSize1 << " core "
                                      << look.innerSize2 << " alpha " << look.alpha << " centre " << x << "," << y
                                      << " pixel " << vx << "," << vy;
                        return false;
                    }
                }
            }
        }
        return true;
    }
};

}  // namespace

// Sizes in three lanes of their words. Each disc routine draws plain and hands over to its ring
// routine; each ring routine draws a hole alone. The faint look only matters where rows can end
// early, in the Normal family.
TEST_F(DiscClipTest, ClippedDiscIsTheWholeDiscCroppedToTheView) {
    for (int size0 : {6, 13, 71}) {
        for (int family = 0; family < 4; ++family) {
            const int looks = family == 0 ? 3 : 2;
            for (int l = 0; l < looks; ++l) {
                DiscLook look = kLooks[l];
                ASSERT_TRUE(clipsInvisibly(kDiscs[family], size0, look));
                look.innerSize1 = size0 * 60 / 100;
                look.innerSize2 = size0 * 25 / 100;
                ASSERT_TRUE(clipsInvisibly(kDiscs[family], size0, look));
                look.innerSize1 = size0 * 55 / 100;
                look.innerSize2 = 0;
                ASSERT_TRUE(clipsInvisibly(kRings[family], size0, look));
            }
        }
    }
}

}  // namespace lw
