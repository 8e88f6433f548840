#include "raster/frame_buffer.h"

#include <vector>

#include "test_support.h"

namespace lw {

namespace {

using FrameBufferTest = test::HostTest;

// Sets up a frame the size of the headless screen, so the window shows all of it.
void makeFrame(int width, int height) {
    headless::setScreenSize(width, height);
    setFrameSize(width, height);
    createFrameBuffers();
}

std::uint32_t windowAt(int x, int y) {
    return headless::windowPixels()[static_cast<std::size_t>(y) * headless::surfaceWidth() + x];
}

bool insideViewport(int x, int y) {
    return x >= marginX && x < frameWidth - marginX && y >= marginY && y < frameHeight - marginY;
}

}  // namespace

TEST_F(FrameBufferTest, RowTableCoversLargeScreensRowByRow) {
    for (auto [width, height] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
        makeFrame(width, height);
        ASSERT_EQ(rowTable.size(), static_cast<std::size_t>(height));
        EXPECT_EQ(rowTable[0], width * (height - 1));  // row 0 is the top: the last row in memory
        EXPECT_EQ(rowTable[height - 1], 0);
        for (int i = 1; i < height; ++i) ASSERT_EQ(rowTable[i - 1] - rowTable[i], width);
        EXPECT_DOUBLE_EQ(viewScale, height / 600.0);
        EXPECT_EQ(viewMaxX, width - 1);
        EXPECT_EQ(viewMaxY, height - 1);

        // Every viewport pixel, written through the table, lands inside the surface.
        for (int y = 0; y < viewHeight; ++y) pixels[rowTable[y] + viewMaxX] = 0x00ABCDEF;
        EXPECT_EQ(headless::surfacePixels()[width - 1], 0x00ABCDEFu);
    }
}

TEST_F(FrameBufferTest, ScreenSizeRequestTakesTheScreen) {
    headless::setScreenSize(1280, 720);
    setFrameSize(kScreenSize, 1024);
    EXPECT_EQ(frameWidth, 1280);
    EXPECT_EQ(frameHeight, 720);
    EXPECT_EQ(fullScreen, 1);
    setFrameSize(320, 200);
    EXPECT_EQ(fullScreen, 0);
}

TEST_F(FrameBufferTest, MarginsAreClampedToAViewportOfSixteen) {
    setFrameSize(100, 80);
    setViewport(60);
    EXPECT_EQ(marginX, 42);
    EXPECT_EQ(viewWidth, 16);
    EXPECT_EQ(marginY, 32);
    EXPECT_EQ(viewHeight, 16);
    EXPECT_NE(hasMargin, 0);

    setViewport(5, 3);
    EXPECT_EQ(rowTable[0], 100 * (80 - 3 - 1) + 5);
    EXPECT_EQ(rowTable.size(), 74u);
    EXPECT_DOUBLE_EQ(viewScale, 74 / 600.0);

    // Negative margins, and frames too small for a 16-pixel viewport, keep the viewport inside.
    setViewport(-4);
    EXPECT_EQ(viewWidth, 100);
    EXPECT_EQ(hasMargin, 0);
    setFrameSize(10, 6);
    setViewport(3);
    EXPECT_EQ(marginX, 0);
    EXPECT_EQ(viewWidth, 10);
    EXPECT_EQ(viewHeight, 6);
}

TEST_F(FrameBufferTest, ImpossibleSizesAreFatal) {
    EXPECT_TRUE(test::endsInFatalError([] { setFrameSize(0, 100); }, L"Frame size out of range"));
    EXPECT_TRUE(test::endsInFatalError([] { setFrameSize(100, -1); }, L"Frame size out of range"));
    EXPECT_TRUE(test::endsInFatalError([] { setFrameSize(40000, 40000); }, L"Frame size out of range"));
}

TEST_F(FrameBufferTest, ClearsFollowTheFillRule) {
    makeFrame(40, 30);
    backgroundColour = 0xFF000000;  // equal colour bytes: a byte fill, alpha takes the same byte
    clearFrame();
    for (auto pixel : headless::surfacePixels()) ASSERT_EQ(pixel, 0x00000000u);
    backgroundColour = 0xFF808080;
    clearFrame();
    for (auto pixel : headless::surfacePixels()) ASSERT_EQ(pixel, 0x80808080u);
    backgroundColour = 0xFFA08CF0;
    clearFrame();
    for (auto pixel : headless::surfacePixels()) ASSERT_EQ(pixel, 0xFFA08CF0u);
}

TEST_F(FrameBufferTest, NewFrameShowsTheBackground) {
    backgroundColour = 0xFFA08CF0;
    makeFrame(24, 20);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels, surfaceBits());
    for (auto pixel : headless::surfacePixels()) ASSERT_EQ(pixel, 0xFFA08CF0u);
}

TEST_F(FrameBufferTest, FirstClearAfterViewportPaintsAndShowsTheWholeFrame) {
    makeFrame(64, 48);
    borderColour = 0xFF102030;
    backgroundColour = 0xFFA08CF0;
    setViewport(8, 4);
    const int before = headless::presentCount();
    clearFrame();
    EXPECT_EQ(headless::presentCount(), before + 1);
    EXPECT_EQ(fullClearPending, 0);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t expected = insideViewport(x, y) ? 0xFFA08CF0 : 0xFF102030;
            // The window shows the border everywhere; the viewport reaches it at presentFrame.
            ASSERT_EQ(windowAt(x, y), 0xFF102030u) << x << "," << y;
            ASSERT_EQ(pixels[(47 - y) * 64 + x], expected) << x << "," << y;
        }
    }

    // Later clears touch only the viewport and show nothing.
    pixels[0] = 0x00123456;               // bottom-left corner: border
    pixels[rowTable[0] + 3] = 0x00654321;  // inside the viewport
    clearFrame();
    EXPECT_EQ(headless::presentCount(), before + 1);
    EXPECT_EQ(pixels[0], 0x00123456u);
    EXPECT_EQ(pixels[rowTable[0] + 3], 0xFFA08CF0u);
}

TEST_F(FrameBufferTest, PresentationCopiesTheViewportToTheWindow) {
    makeFrame(50, 40);
    setViewport(6, 5);
    clearFrame();
    for (int y = 0; y < viewHeight; ++y) {
        for (int x = 0; x < viewWidth; ++x) pixels[rowTable[y] + x] = static_cast<std::uint32_t>(y * 1000 + x);
    }
    pixels[0] = 0x00FFFFFF;  // border pixels are not part of a frame's presentation
    EXPECT_EQ(presentFrame(), 1);
    for (int y = 0; y < viewHeight; ++y) {
        for (int x = 0; x < viewWidth; ++x) ASSERT_EQ(windowAt(x + 6, y + 5), static_cast<std::uint32_t>(y * 1000 + x));
    }
    EXPECT_EQ(windowAt(0, 39), 0x00000000u);

    presentWhole();
    EXPECT_EQ(windowAt(0, 39), 0x00FFFFFFu);
}

TEST_F(FrameBufferTest, WithoutSurfaceNothingIsDrawnOrShown) {
    setFrameSize(32, 32);
    ASSERT_EQ(pixels, nullptr);
    clearFrame();
    EXPECT_EQ(fullClearPending, 0);
    EXPECT_EQ(presentFrame(), 1);
    presentWhole();
    EXPECT_EQ(headless::presentCount(), 0);
}

TEST_F(FrameBufferTest, ReleaseAndRecreate) {
    makeFrame(32, 24);
    createFrameBuffers();  // a second creation replaces the first without leaking it
    EXPECT_EQ(headless::surfaceWidth(), 32);
    ASSERT_NE(depthBuffer, nullptr);
    releaseFrameBuffers();
    EXPECT_EQ(pixels, nullptr);
    EXPECT_EQ(surfaceBits(), nullptr);
    EXPECT_EQ(depthBuffer, nullptr);
    EXPECT_EQ(headless::surfaceWidth(), 0);
    releaseFrameBuffers();  // twice is harmless
}

}  // namespace lw
