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

std::uint32_t source(int row, int column) { return 0xFF000000u | coordinateColour(column, row); }

}  // namespace

// The program's own 255 x 255 textures, enlarged twice, and their tints by style and mode are
// held by the reference pictures, and a missing, damaged or short one by the failure tests; a
// larger picture is used one to one.
TEST_F(TextureImagesTest, LargePictureIsUsedOneToOne) {
    headless::overrideResource(L"KOR_78", kJpegResourceType, test::makeBmp(511, 511, 24, {}, coordinateColour));
    test::ImageStyle disc(SpriteKind::Disc, 0xFF8040FF);
    loadTextureImages(disc.style, L"KOR_78");
    EXPECT_EQ(disc.texel(0, 255, 255), mulColour(source(0, 0), 0x8040FF));
    EXPECT_EQ(disc.texel(1, 3, 200), mulColour(source(252, 455), 0x8040FF));
}

}  // namespace lw
