#include <cmath>
#include <string>
#include <vector>

#include "psi/cache.h"
#include "sprites/dispatch.h"
#include "sprites/sprite_tables.h"
#include "test_support.h"

namespace lw {

namespace {

struct Call {
    std::string routine;
    SpriteState state;
};
std::vector<Call> calls;

void recordClipped() { calls.push_back({"clipped", spriteState}); }
void recordUnclipped() { calls.push_back({"unclipped", spriteState}); }

constexpr std::uint32_t kindCode(SpriteKind kind, BlendMode mode) { return std::uint32_t{kind} | std::uint32_t{mode}; }

PBall recordingStyle(std::uint32_t kind) {
    PBall style;
    style.kind = kind;
    style.colour = 0xFF8040C0;
    style.drawClipped = recordClipped;
    style.drawUnclipped = recordUnclipped;
    return style;
}

// A 100 x 80 view at scale 1, the default projection (factor 1 at z = 0), no fog.
class DispatchTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        calls.clear();
        viewWidth = 100;
        viewHeight = 80;
        viewMaxX = 99;
        viewMaxY = 79;
        viewScale = 1.0;
        spriteState.centreOffsetX = 50;
        spriteState.centreOffsetY = 40;
        entry = CacheEntry{};
        currentEntry = &entry;
    }
    void TearDown() override {
        resetSpriteTableState();
        HostTest::TearDown();
    }
    // The particle's size for a given unrounded sprite size at z = 0.
    void giveSize(double sizeExact) { entry.size = sizeExact / 400.0; }
    const Call& onlyCall() {
        EXPECT_EQ(calls.size(), 1u);
        if (calls.empty()) calls.push_back({"none", spriteState});
        return calls.back();
    }
    // Places a spot of the given radius with its centre at pixel (x, y), through placeSpot.
    void spotAt(int x, int y, int radius) {
        spriteState.size2 = radius + 1;
        spriteState.centreOffsetX = 0;
        spriteState.centreOffsetY = 0;
        placeSpot(recordingStyle(Spot), projectedFor(x), projectedFor(y));
    }
    // Rounding truncates toward zero, so a negative pixel needs half a pixel more.
    static double projectedFor(int pixel) { return pixel < 0 ? pixel - 0.5 : pixel; }

    CacheEntry entry{};
};

}  // namespace

TEST_F(DispatchTest, NearCutIsInclusiveAndEndsTheFrameBelowIt) {
    giveSize(10);
    const PBall style = recordingStyle(Disc);
    EXPECT_EQ(drawParticle(style, 0, 0, nearCut), 0);
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(drawParticle(style, 0, 0, std::nextafter(nearCut, -1e9)), 1);
    EXPECT_EQ(calls.size(), 1u);
    depthSort = 0;  // an unsorted cache goes on past a near particle
    EXPECT_EQ(drawParticle(style, 0, 0, nearCut - 1), 0);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(DispatchTest, FogSetsTheDepthCueAndHidesWhatIsFullyFogged) {
    giveSize(10);
    PBall style = recordingStyle(Spot);
    drawParticle(style, 0, 0, 0);
    EXPECT_EQ(onlyCall().state.depthCue, 255);

    setFog(500, 0, 1);
    calls.clear();
    drawParticle(style, 0, 0, 250);
    EXPECT_DOUBLE_EQ(onlyCall().state.fogFactor, 0.5);
    EXPECT_EQ(onlyCall().state.depthCue, 128);
    calls.clear();
    drawParticle(style, 0, 0, 500);
    EXPECT_TRUE(calls.empty());

    setFog(350, -100, kFogSmoothSquared);
    calls.clear();
    drawParticle(style, 0, 0, 125);
    EXPECT_DOUBLE_EQ(onlyCall().state.fogFactor, 0.09765625);
    EXPECT_EQ(onlyCall().state.depthCue, 25);

    style.depthCueScale = 0.5;  // doubles the fog factor, held at 1
    setFog(500, 0, 1);
    calls.clear();
    drawParticle(style, 0, 0, 375);
    EXPECT_DOUBLE_EQ(onlyCall().state.fogFactor, 0.5);
    calls.clear();
    drawParticle(style, 0, 0, 100);
    EXPECT_EQ(onlyCall().state.fogFactor, 1.0);

    style.depthCueScale = 0.0;  // no NaN from 0 / 0: a fully fogged particle stays hidden
    calls.clear();
    drawParticle(style, 0, 0, 600);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchTest, FadeScalesAlphaAndZeroAlphaDrawsNothing) {
    giveSize(10);
    const PBall style = recordingStyle(Spot);
    entry.lifetime = 10;
    spriteState.fadeCurve = kFadeHideDead;
    entry.ttl = 0;
    spriteState.alpha = 255;
    drawParticle(style, 0, 0, 0);
    EXPECT_TRUE(calls.empty());
    entry.ttl = 3;
    spriteState.alpha = 255;  // the fade works on the alpha in place; the render loop renews it
    drawParticle(style, 0, 0, 0);
    EXPECT_EQ(onlyCall().state.alpha, 255);

    spriteState.fadeCurve = kFadeLinear;
    entry.ttl = 5;
    spriteState.alpha = 255;
    calls.clear();
    drawParticle(style, 0, 0, 0);
    EXPECT_EQ(onlyCall().state.alpha, 128);  // 255 x 128 / 255
    spriteState.alpha = 100;
    calls.clear();
    drawParticle(style, 0, 0, 0);
    EXPECT_EQ(onlyCall().state.alpha, 50);  // 100 x 128 / 255 = 50.2

    entry.lifetime = 0;  // no fade without a lifetime, whatever the ttl
    entry.ttl = 0;
    spriteState.alpha = 77;
    calls.clear();
    drawParticle(style, 0, 0, 0);
    EXPECT_EQ(onlyCall().state.alpha, 77);

    spriteState.alpha = 0;
    calls.clear();
    drawParticle(style, 0, 0, 0);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchTest, FadeHookValuesOutsideTheUnitRangeKeepAlphaInBytes) {
    giveSize(10);
    const PBall style = recordingStyle(Spot);
    entry.lifetime = 10;
    spriteState.fadeHook = [] { return 3.0; };
    spriteState.alpha = 200;
    drawParticle(style, 0, 0, 0);
    EXPECT_EQ(onlyCall().state.alpha, 255);
    spriteState.fadeHook = [] { return -2.0; };
    calls.clear();
    drawParticle(style, 0, 0, 0);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchTest, ZeroTintHidesOnlyAddAndSubtractStyles) {
    giveSize(10);
    spriteState.tint = 0;
    drawParticle(recordingStyle(kindCode(Spot, Add)), 0, 0, 0);
    drawParticle(recordingStyle(kindCode(Spot, Subtract)), 0, 0, 0);
    EXPECT_TRUE(calls.empty());
    drawParticle(recordingStyle(kindCode(Spot, Normal)), 0, 0, 0);
    drawParticle(recordingStyle(kindCode(Spot, Default)), 0, 0, 0);
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(DispatchTest, SizesRoundAtThreeScales) {
    const PBall point = recordingStyle(Point);
    giveSize(0.4);  // rounds to nothing: not even a point
    drawParticle(point, 0, 0, 0);
    drawParticle(recordingStyle(Spot), 0, 0, 0);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(spriteState.size0, 0);
    EXPECT_EQ(spriteState.size2, 0);

    giveSize(10);
    drawParticle(recordingStyle(Spot), 0, 0, 0);
    const SpriteState& s = onlyCall().state;
    EXPECT_EQ(s.size0, 10);
    EXPECT_EQ(s.size1, 5);
    EXPECT_EQ(s.size2, 3);
    EXPECT_EQ(s.radius, 2);
    EXPECT_EQ(s.boxRight - s.boxLeft + 1, 5);
    EXPECT_EQ(s.boxBottom - s.boxTop + 1, 5);

    minSpriteSize = 2;
    giveSize(1);
    calls.clear();
    drawParticle(recordingStyle(Spot), 0, 0, 0);
    EXPECT_EQ(onlyCall().state.size2, 2);
    EXPECT_EQ(onlyCall().state.size1, 4);
    EXPECT_EQ(onlyCall().state.size0, 8);

    giveSize(0.4);  // the least size also makes a vanishing point visible
    calls.clear();
    drawParticle(point, 0, 0, 0);
    EXPECT_EQ(calls.size(), 1u);

    minSpriteSize = 0;
    giveSize(2000);  // the radius stays within the images; the full sizes are kept
    calls.clear();
    drawParticle(recordingStyle(Spot), 0, 0, 0);
    EXPECT_EQ(onlyCall().state.size0, 2000);
    EXPECT_EQ(onlyCall().state.size1, 1000);
    EXPECT_EQ(onlyCall().state.size2, 255);
}

TEST_F(DispatchTest, SizeFollowsProjectionStyleScaleAndViewScale) {
    giveSize(10);
    PBall style = recordingStyle(Spot);
    style.sizeScale = 2.0;
    viewScale = 1.5;
    setProjection(-80, -1);
    drawParticle(style, 0, 0, -80);  // factor 2
    EXPECT_DOUBLE_EQ(onlyCall().state.sizeExact, 60.0);
}

TEST_F(DispatchTest, InnerSizesStayNestedTwoQuartersApart) {
    giveSize(10);
    PBall disc = recordingStyle(Disc);
    disc.innerRatio1 = 0.5;
    disc.innerRatio2 = 0.2;
    drawParticle(disc, 0, 0, 0);
    EXPECT_EQ(spriteState.innerSize1, 5);
    EXPECT_EQ(spriteState.innerSize2, 2);

    disc.innerRatio1 = 0.9;   // 9 leaves less than 2 inside size0 = 10
    disc.innerRatio2 = 0.85;  // 9 likewise inside 8
    drawParticle(disc, 0, 0, 0);
    EXPECT_EQ(spriteState.innerSize1, 8);
    EXPECT_EQ(spriteState.innerSize2, 6);

    giveSize(1);  // size0 1: no room for a hole at all
    drawParticle(disc, 0, 0, 0);
    EXPECT_EQ(spriteState.innerSize1, 0);
    EXPECT_EQ(spriteState.innerSize2, 0);

    disc.innerRatio1 = 0.0;
    disc.innerRatio2 = 0.5;
    giveSize(10);
    drawParticle(disc, 0, 0, 0);
    EXPECT_EQ(spriteState.innerSize1, 0);
    EXPECT_EQ(spriteState.innerSize2, 0);
}

TEST_F(DispatchTest, NegativeSizesDrawNothing) {
    giveSize(-20);  // size2 would be -2: a box turned inside out
    drawParticle(recordingStyle(Spot), 0, 0, 0);
    drawParticle(recordingStyle(Disc), 0, 0, 0);
    drawParticle(recordingStyle(Point), 0, 0, 0);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchTest, KindChoosesThePlacement) {
    giveSize(6);  // size2 2
    drawParticle(recordingStyle(Ball), 3, -4, 10);
    const SpriteState& s = onlyCall().state;
    const double p = projectionFactor(10);
    EXPECT_EQ(s.tinyBall, 1);
    EXPECT_EQ(s.radius, 1);
    EXPECT_EQ(s.centreX, static_cast<int>(3 * p + 50.5));
    EXPECT_EQ(s.centreY, static_cast<int>(-4 * p + 40.5));
    EXPECT_EQ(s.depth, static_cast<int>(80 * p - 0.5));  // 75
    EXPECT_EQ(s.styleColour, 0xFF8040C0u);

    calls.clear();
    drawParticle(recordingStyle(Disc), 0, 0, -4);
    EXPECT_EQ(onlyCall().state.depth, -33);  // -32.65 - 0.5 truncated toward zero

    calls.clear();
    drawParticle(recordingStyle(0x50000), 0, 0, 0);  // no such kind
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchTest, ColumnsRoundTowardZero) {
    spriteState.size2 = 3;
    spriteState.centreOffsetX = 0;
    spriteState.centreOffsetY = 0;
    placeSpot(recordingStyle(Spot), -0.7, 10);
    EXPECT_EQ(onlyCall().state.centreX, 0);
    calls.clear();
    placeSpot(recordingStyle(Spot), -1.7, 10);
    EXPECT_EQ(onlyCall().state.centreX, -1);
    calls.clear();
    placeSprite(recordingStyle(Disc), 10, -1.7, 0);
    EXPECT_EQ(onlyCall().state.centreY, -1);
}

TEST_F(DispatchTest, UnclippedOnlyWhenTheBoxIsInsideTheView) {
    const int r = 3;
    struct Case {
        int x, y;
        const char* routine;
    };
    for (const Case& c : {Case{r, 40, "unclipped"}, Case{r - 1, 40, "clipped"}, Case{99 - r, 40, "unclipped"},
                          Case{100 - r, 40, "clipped"}, Case{50, r, "unclipped"}, Case{50, r - 1, "clipped"},
                          Case{50, 79 - r, "unclipped"}, Case{50, 80 - r, "clipped"}}) {
        calls.clear();
        spotAt(c.x, c.y, r);
        EXPECT_EQ(onlyCall().routine, c.routine) << c.x << "," << c.y;
    }
}

TEST_F(DispatchTest, SpritesWhollyOffTheViewAreRejected) {
    const int r = 3;
    for (auto [x, y] : {std::pair{-r - 1, 40}, std::pair{100 + r, 40}, std::pair{50, -r - 1}, std::pair{50, 80 + r}}) {
        spotAt(x, y, r);
        EXPECT_TRUE(calls.empty()) << x << "," << y;
    }
    // Touching the view by one pixel is enough.
    for (auto [x, y] : {std::pair{-r, 40}, std::pair{99 + r, 40}, std::pair{50, -r}, std::pair{50, 79 + r}}) {
        calls.clear();
        spotAt(x, y, r);
        EXPECT_EQ(calls.size(), 1u) << x << "," << y;
    }
    calls.clear();
    spriteState.size2 = r + 1;
    placeSpot(recordingStyle(Spot), 1e30, std::nan(""));  // a run-away particle lands off the view
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchTest, PointsOutsideTheViewAreSkippedIncludingNegativeOnes) {
    giveSize(4);
    spriteState.centreOffsetX = 0;
    spriteState.centreOffsetY = 0;
    const PBall point = recordingStyle(Point);
    // -1.5 rounds to pixel -1, which an unsigned comparison puts beyond the view.
    for (auto [x, y] : {std::pair{-1.5, 5.0}, std::pair{5.0, -1.5}, std::pair{100.0, 5.0}, std::pair{5.0, 80.0}}) {
        drawParticle(point, x, y, 0);
        EXPECT_TRUE(calls.empty()) << x << "," << y;
    }
    drawParticle(point, 0, 0, 0);
    drawParticle(point, 99, 79, 0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].state.pointX, 99);
    EXPECT_EQ(calls[1].state.pointY, 79);
    EXPECT_EQ(calls[1].routine, "unclipped");
}

TEST_F(DispatchTest, PointColourIsTheStyleColourTintedByTheParticle) {
    giveSize(4);
    const PBall point = recordingStyle(Point);
    spriteState.tint = 0xFFFFFF;
    drawParticle(point, 0, 0, 0);
    EXPECT_EQ(onlyCall().state.tint, 0xFF8040C0u);
    calls.clear();
    spriteState.tint = 0x00808080;
    drawParticle(point, 0, 0, 0);
    EXPECT_EQ(onlyCall().state.tint, mulColour(0xFF8040C0, 0x00808080));
}

TEST_F(DispatchTest, SetupClipForCentresBeyondEachEdge) {
    struct Expected {
        int x, y;  // centre; radius 10 in the 100 x 80 view
        int upper, lower, left, right, firstRow, firstColumn, rowsAbove, rowsBelow, leftBytes, rightBytes;
    };
    // Distances count from the centre, so a centre off the view still has full counts towards it.
    for (const Expected& e : {Expected{-3, 40, 1, 1, 0, 1, 0, 3, 10, 10, -12, 40},
                              Expected{105, 40, 1, 1, 1, 0, 0, 6, 10, 10, 40, -24},
                              Expected{50, -4, 0, 1, 1, 1, 4, 0, -4, 10, 40, 40},
                              Expected{50, 85, 1, 0, 1, 1, 6, 0, 10, -6, 40, 40},
                              Expected{2, 77, 1, 1, 1, 1, 0, 0, 10, 2, 8, 40},
                              Expected{108, -7, 0, 1, 1, 0, 7, 9, -7, 10, 40, -36}}) {
        SpriteState& s = spriteState;
        s.radius = 10;
        s.centreX = e.x;
        s.centreY = e.y;
        s.boxLeft = e.x - 10;
        s.boxRight = e.x + 10;
        s.boxTop = e.y - 10;
        s.boxBottom = e.y + 10;
        setupClip();
        const int got[] = {s.upperVisible, s.lowerVisible, s.leftVisible, s.rightVisible, s.firstRow, s.firstColumn,
                           s.rowsAbove,    s.rowsBelow,    s.leftBytes,   s.rightBytes};
        const int want[] = {e.upper,     e.lower,     e.left,      e.right,      e.firstRow,
                            e.firstColumn, e.rowsAbove, e.rowsBelow, e.leftBytes, e.rightBytes};
        for (int k = 0; k < 10; ++k) EXPECT_EQ(got[k], want[k]) << "centre " << e.x << "," << e.y << " field " << k;
        EXPECT_EQ(s.pointY, s.firstRow);
        EXPECT_TRUE(s.boxLeft >= 0 && s.boxRight <= 99 && s.boxTop >= 0 && s.boxBottom <= 79);
    }
}

TEST_F(DispatchTest, MissingRoutinesAndMissingParticleAreFatal) {
    giveSize(10);
    PBall style = recordingStyle(Spot);
    style.drawUnclipped = nullptr;
    EXPECT_TRUE(test::endsInFatalError([&] { drawParticle(style, 0, 0, 0); }, L"PSI: LinkDraw Error"));
    currentEntry = nullptr;
    EXPECT_TRUE(test::endsInFatalError([&] { drawParticle(recordingStyle(Spot), 0, 0, 0); },
                                       L"PSI: no particle selected to draw"));
}

}  // namespace lw
