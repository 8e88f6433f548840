#include <string>
#include <vector>

#include "host/headless/png_file.h"
#include "picture_builders.h"
#include "raster/colour.h"
#include "sprite_fixtures.h"
#include "sprites/sprite_images.h"
#include "test_support.h"

namespace lw {

namespace {

using TextureImagesTest = test::HostTest;

// Every source pixel names its own row and column: red holds their high bits, green the row,
// blue the column.
std::uint32_t coordinateColour(int x, int y) {
    return static_cast<std::uint32_t>((y >> 8) << 20 | (x >> 8) << 16 | (y & 0xFF) << 8 | (x & 0xFF));
}

void serveTexture(const wchar_t* name, int width, int height) {
    headless::overrideResource(name, kJpegResourceType, test::makeBmp(width, height, 24, {}, coordinateColour));
}

std::uint32_t source(int row, int column) { return 0xFF000000u | coordinateColour(column, row); }

void expectDecoderIdle() {
    EXPECT_EQ(gdiplusUsers, 0);
    EXPECT_FALSE(headless::imageDecoderRunning());
    EXPECT_EQ(imagePixels, nullptr);
}

}  // namespace

TEST_F(TextureImagesTest, SmallPictureIsEnlargedTwiceIntoTheQuadrants) {
    serveTexture(L"KOR_77", 255, 255);
    test::ImageStyle spot(0x30002, 0xFFFFFFFF);
    loadTextureImages(spot.style, L"KOR_77");
    expectDecoderIdle();
    const std::uint32_t white = 0xFFFFFF;
    for (int q = 0; q < 4; ++q) EXPECT_EQ(spot.texel(q, 0, 0), mulColour(source(127, 127), white));
    // Quadrants run away from the centre: up and left mirror the picture.
    EXPECT_EQ(spot.texel(0, 21, 41), mulColour(source(127 - 10, 127 - 20), white));
    EXPECT_EQ(spot.texel(1, 21, 41), mulColour(source(127 - 10, 127 + 20), white));
    EXPECT_EQ(spot.texel(2, 255, 255), mulColour(source(254, 0), white));
    EXPECT_EQ(spot.texel(3, 255, 255), 0x0000FDFDu);  // the colour product has a zero top byte
}

TEST_F(TextureImagesTest, LargePictureIsUsedOneToOne) {
    serveTexture(L"KOR_78", 511, 511);
    test::ImageStyle disc(SpriteKind::Disc, 0xFF8040FF);
    loadTextureImages(disc.style, L"KOR_78");
    EXPECT_EQ(disc.texel(0, 255, 255), mulColour(source(0, 0), 0x8040FF));
    EXPECT_EQ(disc.texel(1, 3, 200), mulColour(source(252, 455), 0x8040FF));
}

TEST_F(TextureImagesTest, TintsByStyleAndMode) {
    serveTexture(L"KOR_79", 255, 255);
    // A Normal spot keeps only the blue channel, its routines' weight.
    test::ImageStyle normal(0x30001, 0xFF123456);
    loadTextureImages(normal.style, L"KOR_79");
    EXPECT_EQ(normal.texel(3, 0, 2), 0x0000007Fu);  // blue 128 scaled by 255 / 256

    // A Multiply spot moves white toward its colour by the blue channel; blue 0 leaves the row
    // end marker, white with a zero top byte.
    test::ImageStyle multiply(0x30004, 0xFF204080, 255);
    loadTextureImages(multiply.style, L"KOR_79");
    EXPECT_EQ(multiply.texel(0, 0, 254), 0x00FFFFFFu);  // column 0 of the source
    EXPECT_EQ(multiply.texel(3, 0, 2), lerpColour(0xFFFFFF, 0xFF204080, 128));
    EXPECT_EQ(multiply.texel(3, 0, 2), 0x008F9FBFu);

    // A Multiply disc is tinted like every other texture.
    test::ImageStyle disc(0x40004, 0xFF204080);
    loadTextureImages(disc.style, L"KOR_79");
    EXPECT_EQ(disc.texel(3, 0, 2), mulColour(source(127, 128), 0x204080));
}

TEST_F(TextureImagesTest, MissingDamagedAndWronglySizedPicturesAreFatal) {
    test::ImageStyle spot(SpriteKind::Spot, 0xFFFFFFFF);
    PBall& style = spot.style;
    const std::wstring notFound = L"PSI: JPG Resource Not Found";
    const std::wstring wrongSize = L"PSI: JPG Resource Have Wrong Resolution";

    EXPECT_TRUE(test::endsInFatalError([&] { loadTextureImages(style, L"KOR_99"); }, notFound));
    const std::string garbage = "this is no picture at all, only some bytes";
    headless::overrideResource(L"KOR_06", kJpegResourceType, std::vector<std::uint8_t>(garbage.begin(), garbage.end()));
    EXPECT_TRUE(test::endsInFatalError([&] { loadTextureImages(style, L"KOR_06"); }, notFound));
    expectDecoderIdle();

    // The walk reads as many rows as columns: a short picture must not be read past its end.
    serveTexture(L"KOR_08", 255, 200);
    EXPECT_TRUE(test::endsInFatalError([&] { loadTextureImages(style, L"KOR_08"); }, wrongSize));
    expectDecoderIdle();

    headless::failImageDecoderStart(true);
    EXPECT_TRUE(test::endsInFatalError([&] { loadTextureImages(style, L"KOR_01"); },
                                       L"GDI+ (WindowsXP or later) support not present"));
}

}  // namespace lw
