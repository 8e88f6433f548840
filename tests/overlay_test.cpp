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

// Where the program's overlays sit and how their pictures load are held by the scene's reference
// picture, a missing or damaged picture by the failure tests.
TEST_F(OverlayTest, BlendKinds) {
    test::makeFrame(64, 32);
    ScreenImage image;
    image.width = image.height = 1;
    std::uint32_t source = 0;
    image.picture = &source;
    const auto blendAt = [&](int kind, std::uint32_t framePixel, std::uint32_t picturePixel) {
        at(5, 5) = framePixel;
        source = picturePixel;
        image.kind = kind;
        image.x = image.xEnd = image.y = image.yEnd = 5;
        clearFrameScreenImages();
        drawScreenImage(image);
        drawFrameScreenImages(viewTarget());
        return at(5, 5);
    };
    EXPECT_EQ(blendAt(AddBlend, 0x00F0F0F0, 0xFF202020), 0x00FFFFFFu);
    EXPECT_EQ(blendAt(SubtractBlend, 0x00F0F0F0, 0xFF202020), 0x00D0D0D0u);
    EXPECT_EQ(blendAt(AlphaBlend, 0x00123456, 0xFFABCDEF), 0xFFABCDEFu);  // all 32 bits
    EXPECT_EQ(blendAt(BlackPunch, 0x00123456, 0xFF000000), 0u);
    EXPECT_EQ(blendAt(WhiteStamp, 0x00123456, 0xFFFFFFFF), 0x00FFFFFFu);
    EXPECT_EQ(blendAt(0, 0x00123456, 0xFF654321), 0xFF654321u);  // anything else copies
}

// Bands of any height draw the same overlays; a view narrower than the strip cuts it, and the
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
