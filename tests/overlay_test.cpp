#include "overlay/overlays.h"

#include "host/platform.h"
#include "overlay/resource_image.h"
#include "picture_builders.h"
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
        HostTest::TearDown();
    }

    static void makeFrame(int width, int height) {
        headless::setScreenSize(width, height);
        setFrameSize(width, height);
        createFrameBuffers();
    }
    static std::uint32_t& at(int x, int y) { return pixels[rowTable[y] + x]; }
    // Pixels off the black background in the strip's and the logo's places on a 1024 x 768 frame.
    static int litPixels(int x0, int x1, int y0, int y1) {
        int lit = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) lit += at(x, y) != 0;
        return lit;
    }
    static int stripLit() { return litPixels(24, 662, 768 - 21, 768 - 9); }
    static int logoLit() { return litPixels(840, 991, 768 - 20, 768 - 9); }
    // A solid picture as a 24-bit bitmap resource.
    static void solidBitmap(const wchar_t* name, int width, int height, std::uint32_t rgb) {
        headless::overrideResource(name, platform::kBitmapResourceType,
                                   test::makeBmp(width, height, 24, {}, [rgb](int, int) { return rgb; }));
    }
};

TEST_F(OverlayTest, TheProgramsOverlaysSitInTheirCornersOfA1024WideView) {
    makeFrame(1024, 768);
    installOverlays();
    ASSERT_NE(logo, nullptr);
    ASSERT_NE(controlsStrip, nullptr);
    EXPECT_EQ(overlayHook, &drawOverlays);
    EXPECT_EQ(logo->width, 152);
    EXPECT_EQ(controlsStrip->width, 639);

    placeBottomRight(*logo, 32, 8, AddBlend);
    EXPECT_EQ(logo->x, 840);
    EXPECT_EQ(logo->xEnd, 991);
    EXPECT_EQ(logo->y, 768 - 20);
    EXPECT_EQ(logo->yEnd, 768 - 9);
    placeBottomLeft(*controlsStrip, 24, 8, -1);
    EXPECT_EQ(controlsStrip->x, 24);
    EXPECT_EQ(controlsStrip->xEnd, 662);
    EXPECT_EQ(controlsStrip->y, 768 - 21);
    EXPECT_EQ(controlsStrip->yEnd, 768 - 9);
    EXPECT_EQ(controlsStrip->kind, AlphaBlend);  // -1 keeps the kind
}

TEST_F(OverlayTest, LoadingScalesChannelsAndMakesPixelsOpaque) {
    solidBitmap(L"WHITE", 3, 2, 0xFFFFFF);
    ScreenImage* image = nullptr;
    createScreenImage(image, L"white");  // names match regardless of case
    ASSERT_NE(image->picture, nullptr);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(image->picture[i], 0xFFFEFEFEu);
    solidBitmap(L"GREY", 1, 1, 0x804020);
    loadScreenImage(*image, L"GREY");
    EXPECT_EQ(image->picture[0], 0xFF7F3F1Fu);
    destroyScreenImage(image);
    EXPECT_EQ(image, nullptr);
}

TEST_F(OverlayTest, BlendKinds) {
    makeFrame(64, 32);
    ScreenImage image;
    image.width = image.height = 1;
    std::uint32_t source = 0;
    image.picture = &source;
    const auto blendAt = [&](int kind, std::uint32_t framePixel, std::uint32_t picturePixel) {
        at(5, 5) = framePixel;
        source = picturePixel;
        image.kind = kind;
        image.x = image.xEnd = image.y = image.yEnd = 5;
        drawScreenImage(image);
        return at(5, 5);
    };
    EXPECT_EQ(blendAt(AddBlend, 0x00F0F0F0, 0xFF202020), 0x00FFFFFFu);
    EXPECT_EQ(blendAt(SubtractBlend, 0x00F0F0F0, 0xFF202020), 0x00D0D0D0u);
    EXPECT_EQ(blendAt(AlphaBlend, 0x00123456, 0x00FFFFFF), 0x00123456u);
    EXPECT_EQ(blendAt(AlphaBlend, 0x00123456, 0xFFABCDEF), 0xFFABCDEFu);  // all 32 bits
    EXPECT_EQ(blendAt(AlphaBlend, 0x00000000, 0x80FFFFFF), 0x007F7F7Fu);
    EXPECT_EQ(blendAt(BlackPunch, 0x00123456, 0xFF000000), 0u);
    EXPECT_EQ(blendAt(BlackPunch, 0x00123456, 0xFF000001), 0x00123456u);
    EXPECT_EQ(blendAt(WhiteStamp, 0x00123456, 0xFFFFFFFF), 0x00FFFFFFu);
    EXPECT_EQ(blendAt(5, 0x00123456, 0xFFFFFFFF), 0x00123456u);  // 4, 5, 6 draw nothing
    EXPECT_EQ(blendAt(0, 0x00123456, 0xFF654321), 0xFF654321u);  // anything else copies
}

TEST_F(OverlayTest, OverlaysAreCutToASmallViewport) {
    makeFrame(240, 180);  // narrower than the strip
    installOverlays();
    const std::vector<std::uint32_t> before(headless::surfacePixels().begin(), headless::surfacePixels().end());
    clearFrame();
    drawOverlays();
    // Nothing was written outside the frame (the sanitizers watch the array), and the strip's
    // visible part reached the right edge's last column.
    EXPECT_EQ(controlsStrip->xEnd, 662);
    bool stripDrawn = false;
    for (int x = 24; x < 240; ++x) stripDrawn |= at(x, 180 - 14) != backgroundColour;
    EXPECT_TRUE(stripDrawn);
    EXPECT_EQ(headless::surfacePixels().size(), before.size());
}

TEST_F(OverlayTest, StripGoesForGoodWithTheFirstTickOfTimer0) {
    makeFrame(1024, 768);
    installOverlays();
    backgroundColour = 0;
    startTimer(0, 10000);
    const auto stripRowLit = [] {
        clearFrame();
        drawOverlays();
        return stripLit();
    };
    EXPECT_GT(stripRowLit(), 100);
    headless::advance(10000);
    EXPECT_EQ(stripRowLit(), 0);
    EXPECT_FALSE(headless::timerActive(1000));
    EXPECT_GT(logoLit(), 50);
    timerFired[0].store(0);  // even if the flag were cleared, the timer no longer runs
    headless::advance(20000);
    EXPECT_EQ(peek(timerFired[0]), 0);
}

// Where another program owns the keys and the mouse, the strip would name controls that do
// nothing; the logo stays.
TEST_F(OverlayTest, WithoutUserControlsOnlyTheLogoIsDrawn) {
    makeFrame(1024, 768);
    hostConfig.userControls = false;
    installOverlays();
    backgroundColour = 0;
    startTimer(0, 10000);
    clearFrame();
    drawOverlays();
    EXPECT_EQ(stripLit(), 0);
    EXPECT_GT(logoLit(), 50);
}

TEST_F(OverlayTest, MissingPictureIsFatal) {
    headless::overrideResource(L"LUMENWALTZ", platform::kBitmapResourceType, {});
    EXPECT_TRUE(test::endsInFatalError([] { installOverlays(); }, L"JPG or BMP Resource Not Found"));
}

}  // namespace lw
