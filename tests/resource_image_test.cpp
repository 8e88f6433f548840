#include "overlay/resource_image.h"

#include "host/platform.h"
#include "picture_builders.h"
#include "test_support.h"

namespace lw {

using ResourceImageTest = test::HostTest;

TEST_F(ResourceImageTest, BitmapAndJpegResourcesThroughTheWholeCallingOrder) {
    const std::vector<std::uint32_t> palette = {0x000000, 0xFFFFFF, 0x7F7F7F, 0x3F3F3F};
    headless::overrideResource(L"STRIP_INFO", platform::kBitmapResourceType,
                               test::makeBmp(13, 4, 4, palette, [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 4); }));
    headless::overrideResource(L"KOR_99", L"binarydata", test::makeBlockJpeg(true));
    gdiplusBegin();
    ASSERT_TRUE(loadImage(L"Strip_Info")) << "names match regardless of case";
    ASSERT_EQ(lockImage(), 1);
    EXPECT_EQ(imageStride, 52);
    EXPECT_EQ(imageBytes, 13 * 4 * 4);
    for (int i = 0; i < 13 * 4; ++i) ASSERT_EQ(imagePixels[i], 0xFF000000 | palette[(i % 13 + i / 13) % 4]) << i;
    EXPECT_FALSE(loadImage(L"KOR_99")) << "the default type is the bitmap type; the lock and picture go";
    EXPECT_EQ(imagePixels, nullptr);
    EXPECT_EQ(lockImage(), 0);
    EXPECT_EQ(imageBytes, 0);

    resourceType = kJpegResourceType;
    ASSERT_TRUE(loadImage(L"kor_99"));
    ASSERT_EQ(lockImage(), 1);
    EXPECT_EQ(imageWidth * imageHeight, 256);
    EXPECT_TRUE(test::nearlyEqual(imagePixels[255], 0xFF808080, 3));
    headless::overrideResource(L"EMPTY", kJpegResourceType, {});
    EXPECT_FALSE(loadImage(L"EMPTY"));
    EXPECT_FALSE(loadImage(L"NO_SUCH_PICTURE"));
    EXPECT_EQ(lockImage(), 0);
    gdiplusEnd();
}

TEST_F(ResourceImageTest, NestedUsersStartAndStopTheDecoderOnce) {
    gdiplusBegin();
    gdiplusBegin();
    EXPECT_EQ(headless::imageDecoderStarts(), 1);
    gdiplusEnd();
    EXPECT_TRUE(headless::imageDecoderRunning());
    gdiplusEnd();
    gdiplusEnd();  // one end too many changes nothing
    EXPECT_EQ(headless::imageDecoderStops(), 1);
    EXPECT_EQ(gdiplusUsers, 0);
    headless::failImageDecoderStart(true);
    EXPECT_TRUE(test::endsInFatalError([] { gdiplusBegin(); }, L"GDI+ (WindowsXP or later) support not present"));
}

}  // namespace lw
