#include "overlay/resource_image.h"

#include "host/platform.h"
#include "picture_builders.h"
#include "test_support.h"

namespace lw {

namespace {

using ResourceImageTest = test::HostTest;

const std::vector<std::uint32_t> kPalette = {0x000000, 0xFFFFFF, 0x7F7F7F, 0x3F3F3F};

std::vector<std::uint8_t> stripBitmap() {
    return test::makeBmp(13, 4, 4, kPalette, [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 4); });
}

}  // namespace

TEST_F(ResourceImageTest, BitmapResourceThroughTheWholeCallingOrder) {
    headless::overrideResource(L"STRIP_INFO", platform::kBitmapResourceType, stripBitmap());
    gdiplusBegin();
    resourceType = platform::kBitmapResourceType;
    ASSERT_TRUE(loadImage(L"Strip_Info"));  // names match regardless of case
    ASSERT_EQ(lockImage(), 1);
    EXPECT_EQ(imageWidth, 13);
    EXPECT_EQ(imageHeight, 4);
    EXPECT_EQ(imageStride, 52);
    EXPECT_EQ(imageBytes, 13 * 4 * 4);
    ASSERT_NE(imagePixels, nullptr);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 13; ++x) ASSERT_EQ(imagePixels[y * 13 + x], 0xFF000000 | kPalette[(x + y) % 4]);
    }
    unlockImage();
    EXPECT_EQ(imagePixels, nullptr);
    releaseImage();
    EXPECT_EQ(lockImage(), 0);  // released: nothing left to lock
    gdiplusEnd();
}

TEST_F(ResourceImageTest, JpegResourceOfItsOwnType) {
    headless::overrideResource(L"KOR_99", L"binarydata", test::makeBlockJpeg(true));
    gdiplusBegin();
    EXPECT_FALSE(loadImage(L"KOR_99"));  // the default type is the bitmap type
    resourceType = kJpegResourceType;
    ASSERT_TRUE(loadImage(L"kor_99"));
    ASSERT_EQ(lockImage(), 1);
    EXPECT_EQ(imageWidth, 16);
    EXPECT_EQ(imageHeight, 16);
    EXPECT_EQ(imageBytes, imageWidth * imageHeight * 4);
    EXPECT_TRUE(test::nearlyEqual(imagePixels[15 * 16 + 15], 0xFF808080, 3));
    unlockImage();
    releaseImage();
    gdiplusEnd();
}

TEST_F(ResourceImageTest, MissingHiddenOrDamagedResourcesReadAsNoPicture) {
    gdiplusBegin();
    resourceType = kJpegResourceType;
    const auto expectEmpty = [] {
        EXPECT_EQ(lockImage(), 0);
        EXPECT_EQ(imageWidth, 0);
        EXPECT_EQ(imageHeight, 0);
        EXPECT_EQ(imageBytes, 0);
        EXPECT_EQ(imagePixels, nullptr);
    };
    EXPECT_FALSE(loadImage(L"NO_SUCH_PICTURE"));
    expectEmpty();

    auto truncated = test::makeBlockJpeg(false);
    truncated.resize(truncated.size() / 2);
    headless::overrideResource(L"HALF", kJpegResourceType, truncated);
    EXPECT_FALSE(loadImage(L"HALF"));
    expectEmpty();

    headless::overrideResource(L"NOISE", kJpegResourceType, {0x12, 0x34, 0x56, 0x78, 0x9A});
    EXPECT_FALSE(loadImage(L"NOISE"));
    headless::overrideResource(L"EMPTY", kJpegResourceType, {});
    EXPECT_FALSE(loadImage(L"EMPTY"));
    EXPECT_FALSE(loadImage(nullptr));
    expectEmpty();
    gdiplusEnd();
}

TEST_F(ResourceImageTest, LoadingAgainReplacesTheCurrentPicture) {
    headless::overrideResource(L"A", platform::kBitmapResourceType, stripBitmap());
    headless::overrideResource(L"B", platform::kBitmapResourceType,
                               test::makeBmp(3, 2, 24, {}, [](int, int) { return 0x445566u; }));
    ASSERT_TRUE(loadImage(L"A"));
    ASSERT_EQ(lockImage(), 1);
    ASSERT_TRUE(loadImage(L"B"));  // drops the lock and the first picture
    EXPECT_EQ(imagePixels, nullptr);
    ASSERT_EQ(lockImage(), 1);
    EXPECT_EQ(imageWidth, 3);
    EXPECT_EQ(imagePixels[5], 0xFF445566u);
    releaseImage();
}

TEST_F(ResourceImageTest, NestedUsersStartAndStopTheDecoderOnce) {
    gdiplusBegin();
    gdiplusBegin();
    EXPECT_EQ(gdiplusUsers, 2);
    EXPECT_EQ(headless::imageDecoderStarts(), 1);
    gdiplusEnd();
    EXPECT_TRUE(headless::imageDecoderRunning());
    EXPECT_EQ(headless::imageDecoderStops(), 0);
    gdiplusEnd();
    EXPECT_FALSE(headless::imageDecoderRunning());
    EXPECT_EQ(headless::imageDecoderStops(), 1);
    gdiplusEnd();  // one end too many changes nothing
    EXPECT_EQ(gdiplusUsers, 0);
    EXPECT_EQ(headless::imageDecoderStops(), 1);

    gdiplusBegin();
    EXPECT_EQ(headless::imageDecoderStarts(), 2);
    gdiplusEnd();
}

TEST_F(ResourceImageTest, DecoderThatCannotStartIsFatal) {
    headless::failImageDecoderStart(true);
    EXPECT_TRUE(test::endsInFatalError([] { gdiplusBegin(); }, L"GDI+ (WindowsXP or later) support not present"));
    EXPECT_EQ(gdiplusUsers, 0);
}

}  // namespace lw
