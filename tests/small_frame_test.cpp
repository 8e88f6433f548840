#include "raster/small_frame.h"

#include <algorithm>

#include "test_support.h"

namespace lw {

namespace {

using SmallFrameTest = test::HostTest;

void makeFrame(int width, int height) {
    headless::setScreenSize(width, height);
    setFrameSize(width, height);
    createFrameBuffers();
}

std::uint32_t pattern(int x, int y) { return static_cast<std::uint32_t>(y << 12 | x); }

}  // namespace

TEST_F(SmallFrameTest, HalfSizeFrameHalvesTheViewAndComesBack) {
    makeFrame(1920, 1080);
    fullScreen = 1;
    smallFrameWanted = 1;
    enterSmallFrame();
    EXPECT_EQ(smallFrameActive, 1);
    EXPECT_EQ(frameWidth, 960);
    EXPECT_EQ(frameHeight, 540);
    EXPECT_EQ(viewMaxX, 959);
    EXPECT_DOUBLE_EQ(viewScale, 0.9);
    EXPECT_EQ(rowTable.size(), 540u);
    EXPECT_EQ(rowTable[0], 960 * 539);
    EXPECT_EQ(pixels, smallPixels);
    EXPECT_EQ(fullScreen, 1);  // the window's style is not the switch's business
    EXPECT_EQ(fullClearPending, 1);

    expandSmallFrame();
    EXPECT_EQ(smallFrameActive, 0);
    EXPECT_EQ(frameWidth, 1920);
    EXPECT_EQ(frameHeight, 1080);
    EXPECT_DOUBLE_EQ(viewScale, 1.8);
    EXPECT_EQ(rowTable.size(), 1080u);
    EXPECT_EQ(rowTable[0], 1920 * 1079);
    EXPECT_EQ(pixels, surfaceBits());

    // Later frames reuse the half-size frame; once it is no longer wanted, frames are full again.
    std::uint32_t* const made = smallPixels;
    enterSmallFrame();
    EXPECT_EQ(pixels, made);
    EXPECT_EQ(frameWidth, 960);
    enterSmallFrame();  // already active: nothing changes
    EXPECT_EQ(frameWidth, 960);
    smallFrameWanted = 0;
    enterSmallFrame();
    EXPECT_EQ(frameWidth, 1920);
    EXPECT_EQ(pixels, surfaceBits());
}

TEST_F(SmallFrameTest, FirstHalfSizeClearShowsItsCorner) {
    makeFrame(64, 48);
    backgroundColour = 0xFF0A0B0C;
    clearFrame();
    smallFrameWanted = 1;
    enterSmallFrame();
    const int before = headless::presentCount();
    clearFrame();  // the switch set a full clear pending: it is shown once
    EXPECT_EQ(headless::presentCount(), before + 1);
    for (int i = 0; i < 32 * 24; ++i) ASSERT_EQ(smallPixels[i], 0xFF0A0B0Cu);
    clearFrame();
    EXPECT_EQ(headless::presentCount(), before + 1);
}

TEST_F(SmallFrameTest, DoublingCoversEveryPixelOfEvenAndOddFrames) {
    for (auto [width, height] : {std::pair{8, 6}, std::pair{7, 5}, std::pair{33, 17}, std::pair{3, 2}, std::pair{1, 1}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        resetAll();
        makeFrame(width, height);
        smallFrameWanted = 1;
        enterSmallFrame();
        const int smallWidth = frameWidth;
        const int smallHeight = frameHeight;
        ASSERT_EQ(smallWidth, std::max(width / 2, 1));
        ASSERT_EQ(smallHeight, std::max(height / 2, 1));
        for (int y = 0; y < viewHeight; ++y) {
            for (int x = 0; x < viewWidth; ++x) pixels[rowTable[y] + x] = pattern(x, y);
        }
        expandSmallFrame();
        ASSERT_EQ(frameWidth, width);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const auto expected = pattern(std::min(x / 2, smallWidth - 1), std::min(y / 2, smallHeight - 1));
                ASSERT_EQ(pixels[rowTable[y] + x], expected) << x << "," << y;
            }
        }
    }
}

TEST_F(SmallFrameTest, DepthClearTouchesOnlyTheHalfSizeCells) {
    makeFrame(40, 30);
    std::fill_n(depthBuffer, 40 * 30, 7);
    smallFrameWanted = 1;
    enterSmallFrame();
    clearDepth();
    for (int i = 0; i < 20 * 15; ++i) ASSERT_EQ(depthBuffer[i], depthClearValue);
    for (int i = 20 * 15; i < 40 * 30; ++i) ASSERT_EQ(depthBuffer[i], 7);
}

TEST_F(SmallFrameTest, ReleasingWhileActiveRestoresTheFullFrame) {
    makeFrame(64, 48);
    smallFrameWanted = 1;
    enterSmallFrame();
    releaseFrameBuffers();
    EXPECT_EQ(frameWidth, 64);
    EXPECT_EQ(rowTable.size(), 48u);
    EXPECT_EQ(smallPixels, nullptr);
    EXPECT_EQ(smallFrameReady, 0);
    EXPECT_EQ(pixels, nullptr);

    // A new scene makes it again from the full size.
    createFrameBuffers();
    enterSmallFrame();
    EXPECT_EQ(frameWidth, 32);
    expandSmallFrame();
    EXPECT_EQ(frameWidth, 64);
}

}  // namespace lw
