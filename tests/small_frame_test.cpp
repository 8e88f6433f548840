#include "raster/small_frame.h"

#include <algorithm>

#include "raster/depth_buffer.h"
#include "test_support.h"

namespace lw {

namespace {

using SmallFrameTest = test::HostTest;

using test::makeFrame;

std::uint32_t pattern(int x, int y) { return static_cast<std::uint32_t>(y << 12 | x); }

}  // namespace

TEST_F(SmallFrameTest, TheHalfSizeFrameIsLiveUntilLeftAndIsMadeOnce) {
    makeFrame(1920, 1080);
    fullScreen = 1;
    smallFrameWanted = 1;
    enterSmallFrame();
    EXPECT_DOUBLE_EQ(viewScale, 0.9);
    EXPECT_EQ(rowTable[0], 960 * 539);
    EXPECT_EQ(fullScreen, 1);  // the window's style is not the switch's business
    std::uint32_t* const made = smallPixels;
    expandSmallFrame();
    EXPECT_EQ(rowTable[0], 1920 * 1079);
    enterSmallFrame();
    EXPECT_EQ(pixels, made);
    releaseFrameBuffers();  // leaves it, and frees it
    EXPECT_EQ(frameWidth, 1920);
    EXPECT_EQ(smallPixels, nullptr);
}

// Rows doubled in pieces (the bands of a frame) cover every pixel, odd sizes included, and the
// depth cells of the half-size frame lie at its own indexes.
TEST_F(SmallFrameTest, DoublingInPiecesCoversEveryPixelOfEvenAndOddFrames) {
    for (auto [width, height] : {std::pair{8, 6}, std::pair{33, 17}, std::pair{3, 2}, std::pair{1, 1}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        resetAll();
        makeFrame(width, height);
        smallFrameWanted = 1;
        enterSmallFrame();
        const int smallWidth = frameWidth;
        const int smallHeight = frameHeight;
        for (int y = 0; y < viewHeight; ++y) {
            for (int x = 0; x < viewWidth; ++x) pixels[rowTable[y] + x] = pattern(x, y);
        }
        std::fill_n(depthBuffer, width * height, 7);
        clearDepthRows(viewTarget());
        EXPECT_EQ(std::count(depthBuffer, depthBuffer + width * height, depthClearValue), smallWidth * smallHeight);
        leaveSmallFrame();
        for (int first = 0; first < height; first += 3) expandSmallFrameRows(first, std::min(first + 2, height - 1));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const auto expected = pattern(std::min(x / 2, smallWidth - 1), std::min(y / 2, smallHeight - 1));
                ASSERT_EQ(pixels[rowTable[y] + x], expected) << x << "," << y;
            }
        }
    }
}

}  // namespace lw
