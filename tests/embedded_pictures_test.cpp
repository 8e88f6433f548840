#include <cwchar>

#include "host/platform.h"
#include "overlay/resource_image.h"
#include "picture_builders.h"
#include "test_support.h"

namespace lw {

namespace {

using EmbeddedPicturesTest = test::HostTest;

// Loads a picture of the program's own resources the way the overlays and sprites do; its size,
// and whether every pixel is opaque.
struct Loaded {
    int width = 0;
    int height = 0;
    bool opaque = false;
};

Loaded load(const wchar_t* name, const wchar_t* type) {
    Loaded result;
    resourceType = type;
    gdiplusBegin();
    if (loadImage(name) && lockImage() == 1) {
        result = {imageWidth, imageHeight, true};
        for (int i = 0; i < imageWidth * imageHeight; ++i) result.opaque = result.opaque && (imagePixels[i] >> 24) == 0xFF;
        unlockImage();
    }
    releaseImage();
    gdiplusEnd();
    return result;
}

}  // namespace

TEST_F(EmbeddedPicturesTest, EveryTextureDecodesAtItsSize) {
    for (int i = 1; i <= 43; ++i) {
        wchar_t name[8];
        std::swprintf(name, 8, L"KOR_%02d", i);
        const Loaded texture = load(name, kJpegResourceType);
        EXPECT_EQ(texture.width, 255) << i;
        EXPECT_EQ(texture.height, 255) << i;
        EXPECT_TRUE(texture.opaque) << i;
    }
}

TEST_F(EmbeddedPicturesTest, BitmapsAndIconsAreThere) {
    const Loaded strip = load(L"CONTROL_INFO", platform::kBitmapResourceType);
    EXPECT_EQ(strip.width, 639);
    EXPECT_EQ(strip.height, 13);
    EXPECT_TRUE(strip.opaque);
    const Loaded logo = load(L"lumenwaltz", platform::kBitmapResourceType);
    EXPECT_EQ(logo.width, 152);
    EXPECT_EQ(logo.height, 12);
    EXPECT_TRUE(logo.opaque);
    EXPECT_FALSE(platform::findResource(L"ICON_MAIN", L"ICON").empty());
    for (int i = 1; i <= 8; ++i) {
        wchar_t name[16];
        std::swprintf(name, 16, L"ICON_SSPRVW%02d", i);
        EXPECT_FALSE(platform::findResource(name, L"ICON").empty()) << i;
    }
}

TEST_F(EmbeddedPicturesTest, OverridesReplaceOrHideEmbeddedPictures) {
    headless::overrideResource(L"LUMENWALTZ", platform::kBitmapResourceType,
                               test::makeBmp(3, 2, 24, {}, [](int, int) { return 0x808080u; }));
    EXPECT_EQ(load(L"LUMENWALTZ", platform::kBitmapResourceType).width, 3);
    headless::overrideResource(L"LUMENWALTZ", platform::kBitmapResourceType, {});
    EXPECT_EQ(load(L"LUMENWALTZ", platform::kBitmapResourceType).width, 0);
    headless::clearResourceOverrides();
    EXPECT_EQ(load(L"LUMENWALTZ", platform::kBitmapResourceType).width, 152);
}

}  // namespace lw
