// From particles to the sprite list: what drawParticle and the render loop place, and every
// check that ends the program before a pixel is drawn.
#include <vector>

#include "psi/cache.h"
#include "psi/psi.h"
#include "raster/frame_buffer.h"
#include "sprite_fixtures.h"
#include "sprites/dispatch.h"
#include "sprites/sprite_list.h"
#include "sprites/spot_routines.h"
#include "sprites/styles.h"
#include "test_support.h"

namespace lw {

namespace {

constexpr std::uint32_t kindCode(SpriteKind kind, BlendMode mode) { return std::uint32_t{kind} | std::uint32_t{mode}; }

// A 100 x 80 view at scale 1, the default projection (factor 1 at z = 0), no fog.
class PlacementTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        setFrameSize(100, 80);
        viewScale = 1.0;
        look.centreOffsetX = 50;
        look.centreOffsetY = 40;
        currentEntry = &entry;
        buildDivisionTable();
        buildSphereTable();
        clearSpriteList();
    }
    void TearDown() override {
        releaseSpriteList();
        HostTest::TearDown();
    }
    // A style of the kind with this test's images and the routines of the table.
    PBall styleOf(std::uint32_t kind, bool withImages = true) {
        PBall style;
        style.kind = kind;
        style.colour = 0xFF8040C0;
        if (withImages) {
            for (int q = 0; q < 4; ++q) style.images[q] = images.style.images[q];
        }
        const DrawPair pair = drawRoutinesFor(kind, withImages);
        style.drawClipped = pair.clipped;
        style.drawUnclipped = pair.unclipped;
        return style;
    }
    // Places a particle of the given unrounded sprite size at view-space (x, y, z).
    std::vector<SpriteRecord> place(const PBall& style, double sizeExact, double x = 0, double y = 0, double z = 0) {
        entry.size = sizeExact / 400.0;
        clearSpriteList();
        EXPECT_EQ(drawParticle(style, x, y, z, look), 0);
        return {spriteList.records, spriteList.records + spriteList.count};
    }
    int placedDepthCue(const PBall& style, double z) {
        const auto placed = place(style, 10, 0, 0, z);
        return placed.empty() ? 0 : placed[0].depthCue;
    }

    test::ImageStyle images{0, 0};
    CacheEntry entry{};
    ParticleLook look;
};

}  // namespace

TEST_F(PlacementTest, FogAndFadeGiveDepthCueAndAlpha) {
    const PBall spot = styleOf(kindCode(SpriteKind::Spot, BlendMode::Add));
    EXPECT_EQ(placedDepthCue(spot, 0), 255);
    setFog(500, 0, 1);
    EXPECT_EQ(placedDepthCue(spot, 250), 128);
    EXPECT_EQ(placedDepthCue(spot, 500), 0);  // fully fogged: nothing placed
    setFog(350, -100, kFogSmoothSquared);  // the scene's fog: t = 0.25, smooth 0.3125, squared
    EXPECT_EQ(placedDepthCue(spot, 125), 25);
    PBall scaled = spot;
    scaled.depthCueScale = 0.0;  // no NaN from 0 / 0: a fully fogged particle stays hidden
    EXPECT_EQ(placedDepthCue(scaled, 400), 0);

    entry.lifetime = 4;
    entry.ttl = 1;
    look.fadeCurve = kFadeSmooth;  // u = 0.125: 0.0859375 of alpha 200, plus half a step
    look.alpha = 200;
    EXPECT_EQ(place(spot, 10)[0].alpha, 17);
    look.fadeHook = [] { return -3.0; };  // a hook may return anything; alpha stays a byte
    EXPECT_TRUE(place(spot, 10).empty());
    look.fadeHook = [] { return 7.0; };
    EXPECT_EQ(place(spot, 10)[0].alpha, 255);
    look.tint = 0;  // a black tint adds and subtracts nothing
    EXPECT_TRUE(place(spot, 10).empty());
    EXPECT_EQ(place(styleOf(kindCode(SpriteKind::Spot, BlendMode::Normal)), 10).size(), 1u);
}

TEST_F(PlacementTest, SizesRoundAtThreeScalesAndStayWithinTheImages) {
    const PBall disc = styleOf(kindCode(SpriteKind::Disc, BlendMode::Add));
    // Where the centre lands is held by the choice of routine below.
    SpriteRecord s = place(disc, 10, 3, -4, 10)[0];
    EXPECT_EQ(s.size0, 10);
    EXPECT_EQ(s.size2, 3);  // (((10 + 1) >> 1) + 1) >> 1
    EXPECT_EQ(s.radius, 2);
    EXPECT_EQ(s.depth, static_cast<int>(80 * projectionFactor(10) - 0.5));
    EXPECT_TRUE(place(disc, 0.4).empty());  // rounds to nothing
    EXPECT_TRUE(place(disc, -20).empty());  // a box turned inside out
    s = place(disc, 2000)[0];
    EXPECT_EQ(s.size0, 2000);
    EXPECT_EQ(s.size2, 255);
    minSpriteSize = 2;
    s = place(disc, 1)[0];
    EXPECT_EQ(s.size2, 2);
    EXPECT_EQ(s.size0, 8);
    EXPECT_EQ(s.tinyBall, 1);
    minSpriteSize = 0;
    PBall ring = styleOf(kindCode(SpriteKind::Disc, BlendMode::Add), false);
    ring.innerRatio1 = 0.9;   // 9 leaves less than 2 quarters inside size0 10: 8
    ring.innerRatio2 = 0.85;  // likewise inside 8: 6
    EXPECT_EQ(place(ring, 10)[0].innerSize2, 6);
}

// A box within the view takes the unclipped routine, one that meets it the clipped one.
TEST_F(PlacementTest, TheBoxChoosesUnclippedClippedOrNothing) {
    const PBall spot = styleOf(kindCode(SpriteKind::Spot, BlendMode::Add));
    look.centreOffsetX = look.centreOffsetY = 0;
    const int r = 3;  // size 14: size0 14, size1 7, size2 4
    const auto routineAt = [&](double x, double y) {
        const auto placed = place(spot, 14, x, y);
        return placed.empty() ? nullptr : placed[0].draw;
    };
    const auto expected = [r](int centre, int last) -> DrawRoutine {
        if (centre + r < 0 || centre - r > last) return nullptr;
        return centre - r >= 0 && centre + r <= last ? spotAddUnclipped : spotAddClipped;
    };
    for (int v = -r - 2; v <= 100 + r + 1; ++v) {
        const double at = v < 0 ? v - 0.5 : v;  // rounding truncates toward zero
        EXPECT_EQ(routineAt(at, 40), expected(v, 99)) << "x " << v;
        if (v <= 80 + r + 1) {
            EXPECT_EQ(routineAt(50, at), expected(v, 79)) << "y " << v;
        }
    }
    const PBall point = styleOf(kindCode(SpriteKind::Point, BlendMode::Normal), false);
    look.tint = 0x80FF40;
    const auto placed = place(point, 4, 99, 79);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].tint, mulColour(0xFF8040C0, 0x80FF40));
    EXPECT_TRUE(place(point, 4, 100, 10).empty());
    EXPECT_TRUE(place(point, 4, -1.5, 10).empty());  // negative: off the view as well
}

TEST_F(PlacementTest, WhatDrawingWouldMissEndsTheProgramWhilePlacing) {
    PBall spot = styleOf(kindCode(SpriteKind::Spot, BlendMode::Add));
    spot.drawUnclipped = nullptr;
    EXPECT_TRUE(test::endsInFatalError([&] { place(spot, 10); }, L"PSI: LinkDraw Error"));
    spot = styleOf(kindCode(SpriteKind::Spot, BlendMode::Add));
    spot.images[2] = nullptr;
    EXPECT_TRUE(test::endsInFatalError([&] { place(spot, 10); }, L"PSI: spot drawn without its images or division table"));
    EXPECT_TRUE(test::endsInFatalError([&] { place(styleOf(kindCode(SpriteKind::Ball, BlendMode::Normal)), 10); },
                                       L"PSI: ball drawn without its images, sprite tables or depth buffer"));
    freeSphereTable();
    EXPECT_TRUE(test::endsInFatalError([&] { place(styleOf(kindCode(SpriteKind::Disc, BlendMode::Add)), 10); },
                                       L"PSI: textured disc drawn without its images or sprite tables"));
    currentEntry = nullptr;
    EXPECT_TRUE(test::endsInFatalError([&] { place(spot, 10); }, L"PSI: no particle selected to draw"));
}

// The render loop: each particle once per style of its chain, farthest first, until the near cut.
class RenderLoopTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        test::makeFrame(240, 180);
        buildDivisionTable();
    }
    static void pointStyle(int slot, std::uint32_t colour, int useParticleColour, int next = kNoNextStyle) {
        selectStyle(slot);
        setupStyle(*currentStyle, SpriteKind::Point, colour, L"");
        currentStyle->useParticleColour = useParticleColour;
        currentStyle->next = next;
    }
    // Particles at (x, 0, z) with a style each; every second one has alpha 204.
    static void particles(const std::vector<std::array<double, 3>>& xzStyle) {
        psiCreate(0);
        emit(static_cast<int>(xzStyle.size()), 0, 0, 0);
        for (std::size_t i = 0; i < xzStyle.size(); ++i) {
            Particle& p = currentSystem->particles[i];
            p.position = {xzStyle[i][0], 0.0, xzStyle[i][1]};
            p.style = static_cast<int>(xzStyle[i][2]);
            p.colour = i % 2 == 0 ? 0xFFFFFFFF : 0xCCFFFFFF;
            p.size = 0.05;
        }
    }
};

TEST_F(RenderLoopTest, ChainsArePlacedFarthestFirstUntilTheNearCut) {
    pointStyle(1, 0x80FFFFFF, 1, 2);
    pointStyle(2, 0xFFFFFFFF, 0);
    particles({{-20.0, 10.0, 1}, {20.0, 30.0, 1}, {0.0, -260.0, 600}, {0.0, -250.0, 1}});
    // The last two lie before the near cut: sorted last, the first of them ends the walk before
    // the style index of the other (outside the table) is looked at.
    renderFrame();
    ASSERT_EQ(spriteList.count, 4);
    const SpriteRecord* s = spriteList.records;
    EXPECT_GT(s[0].centreX, 120);  // z 30 is farther: the right particle comes first
    EXPECT_EQ(s[0].alpha, 102);    // 128 x 204 / 255, truncated
    EXPECT_EQ(s[1].tint, 0xFFFFFFFFu);  // style 2: opaque, untinted
    EXPECT_EQ(s[1].alpha, 204);
    EXPECT_LT(s[3].centreX, 120);
    depthSort = 0;  // unsorted, a particle before the near cut is skipped and the walk goes on
    EXPECT_TRUE(test::endsInFatalError([] { renderFrame(); }, L"PSI: style index out of range"));
}

TEST_F(RenderLoopTest, EmptySlotsAndEndlessChainsEndTheProgram) {
    particles({{0.0, 10.0, 7}});
    EXPECT_TRUE(test::endsInFatalError([] { renderFrame(); }, L"PSI: LinkDraw Error"));
    EXPECT_EQ(styleTable[7]->kind, 0x10000u);  // a default style was made in the empty slot
    pointStyle(7, 0xFFFFFFFF, 1, 8);
    pointStyle(8, 0xFFFFFFFF, 1, 7);
    EXPECT_TRUE(test::endsInFatalError([] { renderFrame(); }, L"PSI: PBall chain never ends"));
}

}  // namespace lw
