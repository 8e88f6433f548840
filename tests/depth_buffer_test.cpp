#include "raster/depth_buffer.h"

#include "raster/frame_buffer.h"
#include "test_support.h"

namespace lw {

using DepthBufferTest = test::HostTest;

TEST_F(DepthBufferTest, ABandClearsOnlyItsRowsOfTheViewport) {
    headless::setScreenSize(48, 36);
    setFrameSize(48, 36);
    createFrameBuffers();
    for (int i = 0; i < 48 * 36; ++i) ASSERT_EQ(depthBuffer[i], 0);  // made zeroed
    setViewport(4, 3);
    DrawTarget band = viewTarget();
    band.top = 2;
    band.bottom = 5;
    clearDepthRows(band);
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 48; ++x) {
            const bool inside = x >= 4 && x < 44 && y >= 5 && y <= 8;
            ASSERT_EQ(depthBuffer[(35 - y) * 48 + x], inside ? depthClearValue : 0) << x << "," << y;
        }
    }
    failAllocationAfter(1);
    EXPECT_TRUE(test::endsInFatalError([] { createFrameBuffers(); }, kAllocationFailedText));
}

}  // namespace lw
