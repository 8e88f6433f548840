#include "host/linux/preview_picture.h"

#include <functional>

#include "host/linux/embedded_resources.h"
#include "host/linux/image_codec.h"
#include "picture_builders.h"
#include "test_support.h"

namespace lw {

namespace {

using IconTest = test::HostTest;
using platform::DecodedImage;
using test::put16;
using test::put32;

struct IconLayout {
    int width = 4;
    int height = 3;
    int bitCount = 32;
    bool withMask = true;
    std::function<std::uint32_t(int, int)> colour;  // 0xAARRGGBB at (x, y) from the top
    std::function<bool(int, int)> masked = [](int, int) { return false; };
};

// The DIB of one icon image: info header with the doubled height, colour rows and mask rows,
// both bottom-up.
std::vector<std::uint8_t> iconImage(const IconLayout& layout) {
    const std::size_t stride = static_cast<std::size_t>((layout.width * layout.bitCount + 31) / 32 * 4);
    const std::size_t maskStride = static_cast<std::size_t>((layout.width + 31) / 32 * 4);
    std::vector<std::uint8_t> dib(40 + stride * layout.height + (layout.withMask ? maskStride * layout.height : 0), 0);
    put32(dib, 0, 40);
    put32(dib, 4, static_cast<std::uint32_t>(layout.width));
    put32(dib, 8, static_cast<std::uint32_t>(2 * layout.height));
    put16(dib, 12, 1);
    put16(dib, 14, static_cast<std::uint32_t>(layout.bitCount));
    for (int y = 0; y < layout.height; ++y) {
        const std::size_t row = 40 + stride * (layout.height - 1 - y);
        const std::size_t maskRow = 40 + stride * layout.height + maskStride * (layout.height - 1 - y);
        for (int x = 0; x < layout.width; ++x) {
            const std::uint32_t c = layout.colour(x, y);
            const std::size_t at = row + static_cast<std::size_t>(x) * (layout.bitCount / 8);
            for (int b = 0; b < layout.bitCount / 8; ++b) dib[at + b] = static_cast<std::uint8_t>(c >> (8 * b));
            if (layout.withMask && layout.masked(x, y)) dib[maskRow + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    return dib;
}

// An icon file of the given images, in this order; each entry names the image's size.
std::vector<std::uint8_t> iconFile(const std::vector<std::vector<std::uint8_t>>& images,
                                   const std::vector<int>& sides) {
    std::vector<std::uint8_t> file(6 + 16 * images.size(), 0);
    put16(file, 2, 1);
    put16(file, 4, static_cast<std::uint32_t>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::size_t entry = 6 + 16 * i;
        file[entry] = file[entry + 1] = static_cast<std::uint8_t>(sides[i]);
        put32(file, entry + 8, static_cast<std::uint32_t>(images[i].size()));
        put32(file, entry + 12, static_cast<std::uint32_t>(file.size()));
        file.insert(file.end(), images[i].begin(), images[i].end());
    }
    return file;
}

std::uint32_t gradient(int x, int y) { return 0x80000000u | static_cast<std::uint32_t>(x * 0x40 << 16 | y * 0x30 << 8 | 0x11); }

bool decodesTo(const std::vector<std::uint8_t>& file, const std::function<std::uint32_t(int, int)>& expected, int width,
               int height) {
    DecodedImage image;
    if (!linuxhost::decodeIcon(file, image)) return false;
    bool same = image.width == width && image.height == height;
    for (int y = 0; same && y < height; ++y) {
        for (int x = 0; x < width; ++x) same = same && image.pixels[y * width + x] == expected(x, y);
    }
    linuxhost::releasePicture(image);
    return same;
}

}  // namespace

TEST_F(IconTest, ImagesComeTopDownWithTheirTransparency) {
    // 32 bits with alpha: the alpha stands, the mask is not read.
    IconLayout withAlpha{.colour = gradient, .masked = [](int, int) { return true; }};
    EXPECT_TRUE(decodesTo(iconFile({iconImage(withAlpha)}, {4}), gradient, 4, 3));
    // 32 bits with no alpha at all: an old icon whose mask tells what shows.
    const auto masked = [](int x, int y) { return x == y; };
    IconLayout oldStyle{.colour = [](int x, int y) { return gradient(x, y) & 0xFFFFFFu; }, .masked = masked};
    const auto oldExpected = [&](int x, int y) { return (gradient(x, y) & 0xFFFFFFu) | (masked(x, y) ? 0u : 0xFF000000u); };
    EXPECT_TRUE(decodesTo(iconFile({iconImage(oldStyle)}, {4}), oldExpected, 4, 3));
    IconLayout noAlphaNoMask = oldStyle;
    noAlphaNoMask.withMask = false;
    EXPECT_TRUE(decodesTo(iconFile({iconImage(noAlphaNoMask)}, {4}),
                          [](int x, int y) { return gradient(x, y) | 0xFF000000u; }, 4, 3));
    // 24 bits: colour from three bytes, transparency from the mask; rows padded to four bytes.
    IconLayout truecolour{.width = 5, .height = 2, .bitCount = 24, .colour = gradient, .masked = masked};
    EXPECT_TRUE(decodesTo(iconFile({iconImage(truecolour)}, {5}),
                          [&](int x, int y) { return (gradient(x, y) & 0xFFFFFFu) | (masked(x, y) ? 0u : 0xFF000000u); },
                          5, 2));
}

TEST_F(IconTest, TheStandardSizeIsChosenElseTheFirst) {
    const auto small = iconImage({.width = 16, .height = 16, .colour = [](int, int) { return 0xFF0000FFu; }});
    const auto standard = iconImage({.width = 32, .height = 32, .colour = [](int, int) { return 0xFF00FF00u; }});
    const auto large = iconImage({.width = 48, .height = 48, .colour = [](int, int) { return 0xFFFF0000u; }});
    EXPECT_TRUE(decodesTo(iconFile({large, small, standard}, {48, 16, 32}), [](int, int) { return 0xFF00FF00u; }, 32, 32));
    EXPECT_TRUE(decodesTo(iconFile({large, small}, {48, 16}), [](int, int) { return 0xFFFF0000u; }, 48, 48));
}

TEST_F(IconTest, DamagedOrUnsupportedIconsAreRefused) {
    const IconLayout plain{.colour = gradient};
    const auto good = iconFile({iconImage(plain)}, {4});
    std::vector<std::vector<std::uint8_t>> bad;
    bad.push_back({});
    bad.push_back(std::vector<std::uint8_t>(good.begin(), good.begin() + 30));  // cut inside the header
    bad.push_back(std::vector<std::uint8_t>(good.begin(), good.end() - 20));    // cut inside the rows
    auto cursor = good;
    put16(cursor, 2, 2);
    bad.push_back(cursor);
    auto none = good;
    put16(none, 4, 0);
    bad.push_back(none);
    auto farOffset = good;
    put32(farOffset, 6 + 12, 0xFFFFFFF0u);
    bad.push_back(farOffset);
    auto hugeSize = good;
    put32(hugeSize, 6 + 8, 0xFFFFFFF0u);
    bad.push_back(hugeSize);
    auto paletted = good;
    put16(paletted, 22 + 14, 8);
    bad.push_back(paletted);
    auto compressed = good;
    put32(compressed, 22 + 16, 1);
    bad.push_back(compressed);
    auto wide = good;
    put32(wide, 22 + 4, 100000);
    bad.push_back(wide);
    auto png = good;
    const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::copy(std::begin(signature), std::end(signature), png.begin() + 22);
    bad.push_back(png);
    IconLayout maskless24{.bitCount = 24, .withMask = false, .colour = gradient};
    bad.push_back(iconFile({iconImage(maskless24)}, {4}));
    for (std::size_t i = 0; i < bad.size(); ++i) {
        DecodedImage image;
        EXPECT_FALSE(linuxhost::decodeIcon(bad[i], image)) << "case " << i;
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST_F(IconTest, IconsBlendOverThePictureByAlphaAndAreClipped) {
    std::vector<std::uint32_t> picture(6 * 4, 0xFF000000u);
    std::vector<std::uint32_t> iconPixels = {0x80FF0000u, 0x00FFFFFFu, 0xFF123456u, 0x40204080u};
    const DecodedImage icon{iconPixels.data(), 2, 2, nullptr};
    linuxhost::drawIconOver(picture, 6, 4, icon, 1, 1);
    EXPECT_EQ(picture[1 * 6 + 1], 0xFF800000u);  // half red over black
    EXPECT_EQ(picture[1 * 6 + 2], 0xFF000000u);  // fully transparent
    EXPECT_EQ(picture[2 * 6 + 1], 0xFF123456u);  // opaque
    EXPECT_EQ(picture[2 * 6 + 2], 0xFF081020u);  // a quarter: 0x20 * 64 / 255 rounds to 8
    // Half over the corners: only what lies inside is drawn, nothing is written outside.
    std::vector<std::uint32_t> small(3 * 3 + 1, 0xFFFFFFFFu);
    linuxhost::drawIconOver(std::span(small).first(9), 3, 3, icon, 0, -1);
    EXPECT_EQ(small[0], 0xFF123456u);
    EXPECT_EQ(small[1], 0xFFC7CFDFu);  // a quarter over white
    linuxhost::drawIconOver(std::span(small).first(9), 3, 3, icon, 2, 2);
    EXPECT_EQ(small[8], 0xFFFF7F7Fu);  // half red over white
    EXPECT_EQ(small[9], 0xFFFFFFFFu);
    linuxhost::drawIconOver(std::span(small).first(9), 3, 3, icon, 5, -7);
    EXPECT_EQ(std::count(small.begin(), small.end(), 0xFFFFFFFFu), 7);
}

TEST_F(IconTest, ThePreviewIsBlackWithTheEightIconsInPlace) {
    const auto picture = linuxhost::previewPicture();
    ASSERT_EQ(picture.size(), static_cast<std::size_t>(linuxhost::kPreviewWidth * linuxhost::kPreviewHeight));
    std::vector<bool> covered(picture.size(), false);
    for (const auto& placed : linuxhost::kPreviewIcons) {
        DecodedImage icon;
        ASSERT_TRUE(linuxhost::decodeIcon(linuxhost::findEmbeddedResource(placed.name, L"ICON"), icon));
        ASSERT_EQ(icon.width, 32);
        ASSERT_EQ(icon.height, 32);
        std::vector<std::uint32_t> alone(32 * 32, 0xFF000000u);
        linuxhost::drawIconOver(alone, 32, 32, icon, 0, 0);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const std::size_t at = static_cast<std::size_t>(placed.y + y) * linuxhost::kPreviewWidth + placed.x + x;
                covered[at] = true;
                ASSERT_EQ(picture[at], alone[y * 32 + x]) << placed.x + x << "," << placed.y + y;
            }
        }
        linuxhost::releasePicture(icon);
    }
    int lit = 0;
    for (std::size_t i = 0; i < picture.size(); ++i) {
        if (!covered[i]) {
            EXPECT_EQ(picture[i], 0xFF000000u) << i;
        } else if ((picture[i] & 0xFFFFFFu) != 0) {
            lit += 1;
        }
    }
    EXPECT_GT(lit, 8 * 32 * 32 / 4);  // the icons are pictures, not black squares
}

}  // namespace lw
