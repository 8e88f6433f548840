#include "raster/frame_buffer.h"

#include <algorithm>

#include "psi/psi.h"
#include "raster/depth_buffer.h"
#include "sprites/sprite_list.h"
#include "sprites/sprite_tables.h"
#include "sprites/styles.h"
#include "test_support.h"

namespace lw {

namespace {

using FrameBufferTest = test::HostTest;

using test::makeFrame;

std::uint32_t windowAt(int x, int y) {
    return headless::windowPixels()[static_cast<std::size_t>(y) * headless::surfaceWidth() + x];
}

}  // namespace

TEST_F(FrameBufferTest, TheRowTableAndViewportFollowSizeAndMargins) {
    makeFrame(3840, 2160);
    EXPECT_EQ(rowTable[2159], 0);  // row 0 is the top: the last row in memory
    EXPECT_DOUBLE_EQ(viewScale, 2160 / 600.0);
    setFrameSize(100, 80);
    setViewport(5, 3);
    EXPECT_EQ(rowTable[0], 100 * (80 - 3 - 1) + 5);
    EXPECT_EQ(viewMaxY, 73);
    setViewport(60);  // the viewport keeps 16 x 16 pixels
    EXPECT_EQ(marginX, 42);
    EXPECT_EQ(marginY, 32);
    setFrameSize(10, 6);  // and never grows past the frame
    setViewport(3);
    EXPECT_EQ(viewWidth, 10);
    EXPECT_TRUE(test::endsInFatalError([] { setFrameSize(40000, 40000); }, L"Frame size out of range"));
}

// The first clear after setViewport paints and shows the whole frame in the border colour; band
// clears then paint only their rows of the viewport, byte-wise when the colour bytes are equal,
// and their depth cells.
TEST_F(FrameBufferTest, TheBorderIsPaintedOnceAndBandsClearOnlyTheirViewRows) {
    makeFrame(41, 30);  // a width that is no multiple of four: the fill's tail counts too
    borderColour = 0xFF102030;
    setViewport(3, 2);
    const int before = headless::presentCount();
    clearPendingBorder();
    clearPendingBorder();
    EXPECT_EQ(headless::presentCount(), before + 1);
    EXPECT_EQ(windowAt(20, 15), 0xFF102030u);
    for (const Colour background : {0xFF808080u, 0xFFA08CF0u}) {
        backgroundColour = background;
        DrawTarget band = viewTarget();
        band.top = 4;
        band.bottom = 9;
        clearTargetRows(band);
        std::fill_n(depthBuffer, 41 * 30, 7);
        clearDepthRows(band);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 41; ++x) {
                const bool cleared = x >= 3 && x < 38 && y >= 6 && y <= 11;
                const std::uint32_t expected = !cleared ? 0xFF102030u : background == 0xFF808080u ? 0x80808080u : background;
                ASSERT_EQ(pixels[(29 - y) * 41 + x], expected) << x << "," << y;
                ASSERT_EQ(depthBuffer[(29 - y) * 41 + x], cleared ? depthClearValue : 7) << x << "," << y;
            }
        }
    }
}

TEST_F(FrameBufferTest, PresentationCopiesTheViewportAndTheRepaintTheWholeSurface) {
    makeFrame(50, 40);
    setViewport(6, 5);
    for (int y = 0; y < viewHeight; ++y) {
        for (int x = 0; x < viewWidth; ++x) pixels[rowTable[y] + x] = static_cast<std::uint32_t>(y * 1000 + x);
    }
    pixels[0] = 0x00FFFFFF;  // border pixels are not part of a frame's presentation
    EXPECT_EQ(presentFrame(), 1);
    EXPECT_EQ(windowAt(6, 5), 0u);
    EXPECT_EQ(windowAt(43, 34), 29u * 1000 + 37);
    EXPECT_NE(windowAt(0, 39), 0x00FFFFFFu);
    presentWhole();
    EXPECT_EQ(windowAt(0, 39), 0x00FFFFFFu);
}

TEST_F(FrameBufferTest, WithoutASurfaceAFrameDrawsAndShowsNothing) {
    setFrameSize(32, 32);
    psiCreate(0);
    emit(5, 0, 0, 0);
    for (int i = 0; i < 5; ++i) currentSystem->particles[i].size = 0.05;
    selectStyle(0);
    setupStyle(*currentStyle, SpriteKind::Point, 0xFFFFFFFF, L"");
    renderFrame();
    EXPECT_GT(spriteList.count, 0);  // placed, but with nowhere to be drawn
    EXPECT_EQ(headless::presentCount(), 0);
}

}  // namespace lw
