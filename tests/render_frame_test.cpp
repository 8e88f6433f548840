#include "sprites/styles.h"

#include <vector>

#include "raster/depth_buffer.h"
#include "sprites/dispatch.h"
#include "sprites/sprite_tables.h"
#include "test_support.h"

namespace lw {

namespace {

struct Draw {
    int style;
    std::uint32_t tint;
    int alpha;
    int centreX;
};

std::vector<Draw> draws;
int drawsBeforeOverlay = -1;

// Stands in for a rasterizer: notes which style drew and what the loop handed over.
void recordDraw() { draws.push_back({currentStyleIndex, spriteState.tint, spriteState.alpha, spriteState.centreX}); }
void noteOverlay() { drawsBeforeOverlay = static_cast<int>(draws.size()); }

double halfFade() { return 0.5; }
double quarterFade() { return 0.25; }

class RenderFrameTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        draws.clear();
        drawsBeforeOverlay = -1;
        setFrameSize(240, 180);
        createFrameBuffers();
        buildDivisionTable();
    }

    // A recording spot style; the chain ends unless next is given.
    static PBall& recorder(int slot, std::uint32_t colour, int useParticleColour, int next = kNoNextStyle) {
        selectStyle(slot);
        currentStyle->kind = 0x30002;
        currentStyle->colour = colour;
        currentStyle->useParticleColour = useParticleColour;
        currentStyle->next = next;
        currentStyle->drawClipped = recordDraw;
        currentStyle->drawUnclipped = recordDraw;
        return *currentStyle;
    }

    // Particles of one system at the given view z, side by side, with style and colour.
    struct ParticleAt {
        double x;
        double z;
        int style;
        std::uint32_t colour;
    };
    static void particles(int slot, const std::vector<ParticleAt>& list) {
        psiCreate(slot);
        emit(static_cast<int>(list.size()), 0, 0, 0);
        for (std::size_t i = 0; i < list.size(); ++i) {
            Particle& p = currentSystem->particles[i];
            p.position = {list[i].x, 0.0, list[i].z};
            p.style = list[i].style;
            p.colour = list[i].colour;
            p.size = 0.05;
        }
    }
};

}  // namespace

TEST_F(RenderFrameTest, ChainDrawsEachParticleOncePerStyleFarthestFirst) {
    recorder(1, 0x80FFFFFF, 1, 2);
    recorder(2, 0xFFFFFFFF, 0);
    particles(0, {{-20.0, 10.0, 1, 0xCC112233}, {20.0, 30.0, 1, 0xFF445566}});
    renderFrame();

    ASSERT_EQ(draws.size(), 4u);
    // z 30 is farther: its particle (right of centre) comes first, A before B.
    EXPECT_EQ(draws[0].style, 1);
    EXPECT_EQ(draws[1].style, 2);
    EXPECT_GT(draws[0].centreX, 120);
    EXPECT_EQ(draws[0].tint, 0xFF445566u);
    EXPECT_EQ(draws[0].alpha, 128);  // 128 x 255 / 255
    EXPECT_EQ(draws[1].tint, 0xFFFFFFu);
    EXPECT_EQ(draws[1].alpha, 255);
    EXPECT_EQ(draws[2].style, 1);
    EXPECT_EQ(draws[2].tint, 0xCC112233u);
    EXPECT_EQ(draws[2].alpha, 102);  // 128 x 204 / 255, truncated
    EXPECT_EQ(draws[3].style, 2);
    EXPECT_EQ(draws[3].alpha, 204);
}

TEST_F(RenderFrameTest, ZeroAlphaOfStyleOrParticleDrawsNothing) {
    recorder(1, 0x00FFFFFF, 1);
    recorder(2, 0xFFFFFFFF, 1);
    particles(0, {{0.0, 10.0, 1, 0xFFFFFFFF}, {0.0, 20.0, 2, 0x00FFFFFF}, {0.0, 30.0, 2, 0x01FFFFFF}});
    renderFrame();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].alpha, 1);
}

TEST_F(RenderFrameTest, EmptySlotGetsADefaultStyleThatEndsInLinkDrawError) {
    particles(0, {{0.0, 10.0, 7, 0xFFFFFFFF}});
    EXPECT_TRUE(test::endsInFatalError([] { renderFrame(); }, L"PSI: LinkDraw Error"));
    ASSERT_NE(styleTable[7], nullptr);
    EXPECT_EQ(styleTable[7]->kind, 0x10000u);
}

TEST_F(RenderFrameTest, NearCutStopsTheWalk) {
    recorder(1, 0xFFFFFFFF, 1);
    // Sorted, the entries before the near cut come last; the walk must end at the first of them,
    // before it reaches the entry with a style index no table holds.
    particles(0, {{0.0, -260.0, 600, 0xFFFFFFFF}, {0.0, 10.0, 1, 0xFFFFFFFF}, {0.0, -250.0, 1, 0xFFFFFFFF}});
    renderFrame();
    EXPECT_EQ(draws.size(), 1u);

    // Unsorted, a particle before the near cut is skipped and the walk goes on.
    depthSort = 0;
    EXPECT_TRUE(test::endsInFatalError([] { renderFrame(); }, L"PSI: style index out of range"));
}

TEST_F(RenderFrameTest, FadeFollowsEachParticlesOwnSystem) {
    recorder(1, 0xFFFFFFFF, 1);
    particles(3, {{0.0, 40.0, 1, 0xFFFFFFFF}});
    currentSystem->fadeHook = quarterFade;
    currentSystem->particles[0].lifetime = 10;
    particles(0, {{0.0, 50.0, 1, 0xFFFFFFFF}, {0.0, 30.0, 1, 0xFFFFFFFF}});
    currentSystem->fadeHook = halfFade;
    for (int i = 0; i < 2; ++i) currentSystem->particles[i].lifetime = 10;
    renderFrame();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].alpha, 128);  // slot 0, z 50
    EXPECT_EQ(draws[1].alpha, 64);   // slot 3, z 40
    EXPECT_EQ(draws[2].alpha, 128);  // slot 0 again, z 30
}

TEST_F(RenderFrameTest, FrameIsClearedBeforeAndOverlaidAfterTheParticles) {
    recorder(1, 0xFFFFFFFF, 1);
    particles(0, {{0.0, 10.0, 1, 0xFFFFFFFF}});
    backgroundColour = 0xFF203040;
    renderFrame();  // the first clear after a new viewport also shows the whole frame once
    for (int y = 0; y < viewHeight; ++y) pixels[rowTable[y] + 5] = 0xFFFFFFFF;
    overlayHook = noteOverlay;
    draws.clear();
    const int presentsBefore = headless::presentCount();
    renderFrame();
    EXPECT_EQ(drawsBeforeOverlay, 1);
    EXPECT_EQ(headless::presentCount(), presentsBefore + 1);
    for (int y = 0; y < viewHeight; ++y) ASSERT_EQ(pixels[rowTable[y] + 5], 0xFF203040u);
    EXPECT_EQ(spriteState.centreOffsetX, 120);
    EXPECT_EQ(spriteState.centreOffsetY, 90);
}

TEST_F(RenderFrameTest, ChainThatComesBackToItselfIsFatal) {
    recorder(1, 0xFFFFFFFF, 1, 2);
    recorder(2, 0xFFFFFFFF, 1, 1);
    particles(0, {{0.0, 10.0, 1, 0xFFFFFFFF}});
    EXPECT_TRUE(test::endsInFatalError([] { renderFrame(); }, L"PSI: PBall chain never ends"));
}

TEST_F(RenderFrameTest, DepthIsClearedOnlyWhileABallStyleExists) {
    recorder(1, 0xFFFFFFFF, 0);
    particles(0, {{0.0, 10.0, 1, 0xFFFFFFFF}});
    ASSERT_NE(depthBuffer, nullptr);
    depthBuffer[0] = 5;
    renderFrame();
    EXPECT_EQ(depthBuffer[0], 5);  // nothing reads it: not cleared

    selectStyle(7);  // a ball style, drawn by no particle yet
    currentStyle->kind = SpriteKind::Ball;
    renderFrame();
    EXPECT_EQ(depthBuffer[0], depthClearValue);
}

}  // namespace lw
