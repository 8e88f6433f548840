#include "overlay/overlays.h"

#include "host/platform.h"
#include "overlay/resource_image.h"
#include "raster/frame_buffer.h"
#include "test_support.h"

namespace lw {

class OverlayTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        resourceType = platform::kBitmapResourceType;
    }
    void TearDown() override {
        removeOverlays();
        clearFrameScreenImages();
        HostTest::TearDown();
    }
    static std::uint32_t& at(int x, int y) { return pixels[rowTable[y] + x]; }
    // The overlays of one frame over the background, drawn as bands of the given rows.
    static void drawOverlayFrame(int bandRows) {
        clearFrameScreenImages();
        drawOverlays();
        for (int top = 0; top <= viewMaxY; top += bandRows) {
            DrawTarget band = viewTarget();
            band.top = top;
            band.bottom = std::min(top + bandRows - 1, viewMaxY);
            clearTargetRows(band);
            drawFrameScreenImages(band);
        }
    }
    static int litPixels(int left, int top, int right, int bottom) {
        int lit = 0;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) lit += at(x, y) != backgroundColour;
        return lit;
    }
};

// Where the program's overlays sit, how their pictures load and how they blend (Add, the one kind
// the program uses) are held by the scene's reference picture, a missing or damaged picture by the
// failure tests. Bands of any height draw the same overlays; a view narrower than the strip cuts it, and the
// strip goes for good with the first tick of timer 0. Where another program owns the keys and the
// mouse (an XScreenSaver hack), the strip would name controls that do nothing: only the logo shows.
TEST_F(OverlayTest, OverlaysAreCutToTheViewAndToEachBand) {
    backgroundColour = 0xFFA08CF0;
    test::makeFrame(240, 180);
    installOverlays();
    drawOverlayFrame(180);
    const std::vector<std::uint32_t> whole(headless::surfacePixels().begin(), headless::surfacePixels().end());
    for (const int rows : {1, 7}) {
        drawOverlayFrame(rows);
        EXPECT_TRUE(std::equal(whole.begin(), whole.end(), headless::surfacePixels().begin())) << rows << " rows";
    }
    EXPECT_GT(litPixels(200, 180 - 21, 239, 180 - 9), 20);  // the strip reaches the last column

    test::makeFrame(1024, 768);
    startTimer(0, 10000);
    drawOverlayFrame(16);
    EXPECT_GT(litPixels(24, 768 - 21, 662, 768 - 9), 100);
    headless::advance(10000);
    drawOverlayFrame(16);
    EXPECT_EQ(litPixels(24, 768 - 21, 662, 768 - 9), 0);
    EXPECT_GT(litPixels(840, 768 - 20, 991, 768 - 9), 50);  // the logo stays
    EXPECT_FALSE(headless::timerActive(1000));

    removeOverlays();
    hostConfig.userControls = false;
    installOverlays();
    timerFired[0].store(0);  // as a fresh run, where the strip would show
    drawOverlayFrame(16);
    EXPECT_EQ(litPixels(24, 768 - 21, 662, 768 - 9), 0);
    EXPECT_GT(litPixels(840, 768 - 20, 991, 768 - 9), 50);
}

}  // namespace lw
