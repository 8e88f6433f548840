// The Linux decoders of the program's pictures, its embedded resources and the preview made of icons.
#include <functional>
#include <span>

#include "host/linux/embedded_resources.h"
#include "host/linux/image_codec.h"
#include "host/linux/preview_picture.h"
#include "picture_builders.h"
#include "reference_picture.h"
#include "test_support.h"

namespace lw {

namespace {

using PicturesTest = test::HostTest;
using platform::DecodedImage;
using test::put16;
using test::put32;

const std::vector<std::uint32_t> kGreys = {0x000000, 0xFFFFFF, 0x7F7F7F, 0x3F3F3F, 0x123456};

bool decodes(std::span<const std::uint8_t> bytes) {
    DecodedImage image;
    const bool ok = linuxhost::decodePicture(bytes, image);
    EXPECT_EQ(ok, image.pixels != nullptr);
    linuxhost::releasePicture(image);
    return ok;
}

// One 4 x 3 icon image of 32 (or 24) bits, colour(x, y) from the top, with its mask of masked().
std::vector<std::uint8_t> iconImage(int bitCount, const std::function<std::uint32_t(int, int)>& colour,
                                    const std::function<bool(int, int)>& masked, int side = 0) {
    const int width = side != 0 ? side : 4;
    const int height = side != 0 ? side : 3;
    const std::size_t stride = static_cast<std::size_t>((width * bitCount + 31) / 32 * 4);
    const std::size_t maskStride = static_cast<std::size_t>((width + 31) / 32 * 4);
    std::vector<std::uint8_t> dib(40 + (stride + maskStride) * height, 0);
    put32(dib, 0, 40);
    put32(dib, 4, static_cast<std::uint32_t>(width));
    put32(dib, 8, static_cast<std::uint32_t>(2 * height));
    put16(dib, 12, 1);
    put16(dib, 14, static_cast<std::uint32_t>(bitCount));
    for (int y = 0; y < height; ++y) {
        const std::size_t row = 40 + stride * (height - 1 - y);
        const std::size_t maskRow = 40 + stride * height + maskStride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            for (int b = 0; b < bitCount / 8; ++b) dib[row + x * (bitCount / 8) + b] = static_cast<std::uint8_t>(colour(x, y) >> (8 * b));
            if (masked(x, y)) dib[maskRow + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    return dib;
}

std::vector<std::uint8_t> iconFile(const std::vector<std::vector<std::uint8_t>>& images, const std::vector<int>& sides) {
    std::vector<std::uint8_t> file(6 + 16 * images.size(), 0);
    put16(file, 2, 1);
    put16(file, 4, static_cast<std::uint32_t>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        file[6 + 16 * i] = file[7 + 16 * i] = static_cast<std::uint8_t>(sides[i]);
        put32(file, 6 + 16 * i + 8, static_cast<std::uint32_t>(images[i].size()));
        put32(file, 6 + 16 * i + 12, static_cast<std::uint32_t>(file.size()));
        file.insert(file.end(), images[i].begin(), images[i].end());
    }
    return file;
}

std::uint32_t gradient(int x, int y) { return 0x80000000u | static_cast<std::uint32_t>(x * 0x40 << 16 | y * 0x30 << 8 | 0x11); }
bool diagonal(int x, int y) { return x == y; }

std::vector<std::uint32_t> decodedIcon(const std::vector<std::uint8_t>& file) {
    DecodedImage image;
    if (!linuxhost::decodeIcon(file, image)) return {};
    std::vector<std::uint32_t> pixels(image.pixels, image.pixels + image.width * image.height);
    linuxhost::releasePicture(image);
    return pixels;
}

}  // namespace

TEST_F(PicturesTest, JpegsAndBitmapsGiveOpaqueArgbRowsFromTheTop) {
    for (bool progressive : {false, true}) {
        DecodedImage image;
        ASSERT_TRUE(linuxhost::decodePicture(test::makeBlockJpeg(progressive), image));
        ASSERT_EQ(image.width * image.height, 256);
        for (int i = 0; i < 256; ++i) ASSERT_TRUE(test::nearlyEqual(image.pixels[i], test::blockColour(i % 16, i / 16), 3)) << i;
        linuxhost::releasePicture(image);
    }
    const auto index = [](int x, int y) { return static_cast<std::uint32_t>((x + 2 * y) % 5); };
    const auto colour = [](int x, int y) { return static_cast<std::uint32_t>(x * 40 << 16 | y * 50 << 8 | 0x21); };
    for (auto [bitCount, topDown] : {std::pair{4, true}, {8, false}, {24, false}}) {
        const bool paletted = bitCount <= 8;
        const auto bytes = test::makeBmp(5, 3, bitCount, paletted ? kGreys : std::vector<std::uint32_t>{},
                                         paletted ? std::function<std::uint32_t(int, int)>(index) : colour, topDown);
        DecodedImage image;
        ASSERT_TRUE(linuxhost::decodePicture(bytes, image)) << bitCount;
        ASSERT_EQ(image.width * image.height, 15);
        for (int i = 0; i < 15; ++i) {
            const int x = i % 5, y = i / 5;
            ASSERT_EQ(image.pixels[i], 0xFF000000 | (paletted ? kGreys[index(x, y)] : colour(x, y))) << bitCount << " bits";
        }
        linuxhost::releasePicture(image);
    }
}

TEST_F(PicturesTest, TruncatedAndForgedPicturesAreRefused) {
    const auto bmp = test::makeBmp(5, 3, 24, {}, [](int x, int y) { return static_cast<std::uint32_t>(x * y * 40); });
    for (const auto& whole : {bmp, test::makeBlockJpeg(true)}) {
        ASSERT_TRUE(decodes(whole));
        for (std::size_t length = 0; length < whole.size(); ++length) {
            ASSERT_FALSE(decodes(std::span(whole).first(length))) << "accepted " << length << " of " << whole.size();
        }
    }
    auto forged = bmp;
    put32(forged, 18, 100000);  // a huge picture
    EXPECT_FALSE(decodes(forged));
    forged = bmp;
    put32(forged, 22, 4);  // rows the file does not have
    EXPECT_FALSE(decodes(forged));
    forged = bmp;
    put32(forged, 10, 20);  // pixels inside the header
    EXPECT_FALSE(decodes(forged));
}

TEST_F(PicturesTest, IconsComeTopDownWithTheirTransparencyAtTheStandardSize) {
    EXPECT_EQ(decodedIcon(iconFile({iconImage(32, gradient, [](int, int) { return true; })}, {4}))[5], gradient(1, 1))
        << "alpha stands, the mask is not read";
    // No alpha at all: an old icon whose mask tells what shows; 24 bits likewise.
    for (int bitCount : {32, 24}) {
        const auto pixels = decodedIcon(iconFile({iconImage(bitCount, [](int x, int y) { return gradient(x, y) & 0xFFFFFFu; }, diagonal)}, {4}));
        ASSERT_EQ(pixels.size(), 12u);
        for (int i = 0; i < 12; ++i) {
            const int x = i % 4, y = i / 4;
            ASSERT_EQ(pixels[i], (gradient(x, y) & 0xFFFFFFu) | (diagonal(x, y) ? 0u : 0xFF000000u)) << bitCount;
        }
    }
    const auto flat = [](std::uint32_t c) { return [c](int, int) { return c; }; };
    const auto none = [](int, int) { return false; };
    const auto small = iconImage(32, flat(0xFF0000FFu), none, 16);
    const auto standard = iconImage(32, flat(0xFF00FF00u), none, 32);
    EXPECT_EQ(decodedIcon(iconFile({small, standard}, {16, 32})), std::vector<std::uint32_t>(32 * 32, 0xFF00FF00u));
    EXPECT_EQ(decodedIcon(iconFile({small}, {16})), std::vector<std::uint32_t>(16 * 16, 0xFF0000FFu)) << "else the first";

    const auto good = iconFile({iconImage(32, gradient, none)}, {4});
    for (const auto& [at, value] : {std::pair<std::size_t, std::uint32_t>{2, 2} /* a cursor */, {6 + 12, 0xFFFFFFF0u},
                                    {22 + 14, 8} /* paletted */, {22 + 4, 100000}}) {
        auto bad = good;
        put32(bad, at, value | (at == 2 ? 0x10000u : 0u));
        EXPECT_TRUE(decodedIcon(bad).empty()) << "byte " << at;
    }
    EXPECT_TRUE(decodedIcon(std::vector<std::uint8_t>(good.begin(), good.end() - 20)).empty());
}

TEST_F(PicturesTest, ThePreviewIsBlackWithTheEightIconsBlendedInPlace) {
    std::vector<std::uint32_t> picture(3 * 3 + 1, 0xFFFFFFFFu);
    std::vector<std::uint32_t> iconPixels = {0x80FF0000u, 0x00FFFFFFu, 0xFF123456u, 0x40204080u};
    const DecodedImage icon{iconPixels.data(), 2, 2, nullptr};
    linuxhost::drawIconOver(std::span(picture).first(9), 3, 3, icon, 0, -1);  // clipped at the top
    EXPECT_EQ(picture[0], 0xFF123456u);
    EXPECT_EQ(picture[1], 0xFFC7CFDFu) << "a quarter over white, rounded";
    linuxhost::drawIconOver(std::span(picture).first(9), 3, 3, icon, 2, 2);
    EXPECT_EQ(picture[8], 0xFFFF7F7Fu) << "half red over white";
    EXPECT_EQ(picture[9], 0xFFFFFFFFu) << "nothing written past the picture";

    // The eight icons of the program's resources on black.
    const headless::Picture preview{linuxhost::kPreviewWidth, linuxhost::kPreviewHeight, linuxhost::previewPicture()};
    EXPECT_TRUE(test::matchesReference("preview", preview));
}

}  // namespace lw
