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

// The program's own 255 x 255 textures, enlarged twice, and their tints by style and mode are
// held by the reference pictures; a larger picture is used one to one.
TEST_F(TextureImagesTest, LargePictureIsUsedOneToOne) {
    serveTexture(L"KOR_78", 511, 511);
    test::ImageStyle disc(SpriteKind::Disc, 0xFF8040FF);
    loadTextureImages(disc.style, L"KOR_78");
    EXPECT_EQ(disc.texel(0, 255, 255), mulColour(source(0, 0), 0x8040FF));
    EXPECT_EQ(disc.texel(1, 3, 200), mulColour(source(252, 455), 0x8040FF));
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
