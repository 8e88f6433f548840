#include "raster/depth_buffer.h"

#include "test_support.h"

namespace lw {

using DepthBufferTest = test::HostTest;

TEST_F(DepthBufferTest, ClearFillsTheViewportWithTheClearValue) {
    headless::setScreenSize(48, 36);
    setFrameSize(48, 36);
    createFrameBuffers();
    ASSERT_NE(depthBuffer, nullptr);
    for (int i = 0; i < 48 * 36; ++i) ASSERT_EQ(depthBuffer[i], 0);  // made zeroed

    clearDepth();
    EXPECT_EQ(depthClearValue, 522133279);
    for (int i = 0; i < 48 * 36; ++i) ASSERT_EQ(depthBuffer[i], depthClearValue);

    // With margins only the viewport's cells are cleared.
    std::fill_n(depthBuffer, 48 * 36, -5);
    setViewport(4, 3);
    clearDepth();
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 48; ++x) {
            const bool inside = x >= 4 && x < 44 && y >= 3 && y < 33;
            ASSERT_EQ(depthBuffer[y * 48 + x], inside ? depthClearValue : -5) << x << "," << y;
        }
    }
}

TEST_F(DepthBufferTest, NoBufferNoClear) {
    ASSERT_EQ(depthBuffer, nullptr);
    clearDepth();
    EXPECT_EQ(depthBuffer, nullptr);
}

TEST_F(DepthBufferTest, ExhaustedMemoryIsFatal) {
    setFrameSize(64, 64);
    failAllocationAfter(1);
    EXPECT_TRUE(test::endsInFatalError([] { createFrameBuffers(); }, kAllocationFailedText));
}

}  // namespace lw
