#include "host/linux/image_codec.h"

#include <span>

#include "host/random.h"
#include "picture_builders.h"
#include "test_support.h"

namespace lw {

namespace {

using ImageCodecTest = test::HostTest;
using platform::DecodedImage;

const std::vector<std::uint32_t> kGreys = {0x000000, 0xFFFFFF, 0x7F7F7F, 0x3F3F3F, 0x123456};

bool decodes(std::span<const std::uint8_t> bytes) {
    DecodedImage image;
    const bool ok = linuxhost::decodePicture(bytes, image);
    const bool consistent = ok ? image.pixels != nullptr && image.width > 0 && image.height > 0 : image.pixels == nullptr;
    linuxhost::releasePicture(image);
    EXPECT_TRUE(consistent);
    return ok;
}

}  // namespace

TEST_F(ImageCodecTest, JpegGivesOpaqueArgbRowsFromTheTop) {
    for (bool progressive : {false, true}) {
        const auto jpeg = test::makeBlockJpeg(progressive);
        ASSERT_FALSE(jpeg.empty());
        DecodedImage image;
        ASSERT_TRUE(linuxhost::decodePicture(jpeg, image));
        ASSERT_EQ(image.width, 16);
        ASSERT_EQ(image.height, 16);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                ASSERT_TRUE(test::nearlyEqual(image.pixels[y * 16 + x], test::blockColour(x, y), 3))
                    << std::hex << image.pixels[y * 16 + x] << " at " << std::dec << x << "," << y;
            }
        }
        linuxhost::releasePicture(image);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST_F(ImageCodecTest, BitmapsGivePaletteColoursWithOpaqueAlpha) {
    const auto index = [](int x, int y) { return static_cast<std::uint32_t>((x + 2 * y) % 5); };
    const auto colour = [](int x, int y) { return static_cast<std::uint32_t>(x * 40 << 16 | y * 50 << 8 | 0x21); };
    struct Case {
        int bitCount;
        bool topDown;
    };
    for (auto [bitCount, topDown] : {Case{4, false}, Case{4, true}, Case{8, false}, Case{24, false}}) {
        SCOPED_TRACE(testing::Message() << bitCount << " bits" << (topDown ? ", top-down" : ""));
        const bool paletted = bitCount <= 8;
        const auto bytes = test::makeBmp(5, 3, bitCount, paletted ? kGreys : std::vector<std::uint32_t>{},
                                         paletted ? std::function<std::uint32_t(int, int)>(index) : colour, topDown);
        DecodedImage image;
        ASSERT_TRUE(linuxhost::decodePicture(bytes, image));
        ASSERT_EQ(image.width, 5);
        ASSERT_EQ(image.height, 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                const std::uint32_t expected = 0xFF000000 | (paletted ? kGreys[index(x, y)] : colour(x, y));
                ASSERT_EQ(image.pixels[y * 5 + x], expected) << x << "," << y;
            }
        }
        linuxhost::releasePicture(image);
    }
}

TEST_F(ImageCodecTest, TruncatedPicturesAreRefused) {
    const auto bmp = test::makeBmp(7, 5, 4, kGreys, [](int x, int y) { return static_cast<std::uint32_t>((x * y) % 4); });
    const auto jpeg = test::makeBlockJpeg(true);
    for (const auto& whole : {bmp, jpeg}) {
        ASSERT_TRUE(decodes(whole));
        for (std::size_t length = 0; length < whole.size(); ++length) {
            ASSERT_FALSE(decodes(std::span(whole).first(length))) << "accepted " << length << " of " << whole.size();
        }
    }
}

TEST_F(ImageCodecTest, GarbageAndForgedHeadersAreRefused) {
    std::vector<std::uint8_t> garbage(600);
    seedRandomWith(7);
    for (auto& byte : garbage) byte = static_cast<std::uint8_t>(rand15());
    EXPECT_FALSE(decodes(garbage));
    for (std::vector<std::uint8_t> magic : {std::vector<std::uint8_t>{'B', 'M'}, {0xFF, 0xD8, 0xFF}}) {
        auto forged = garbage;
        std::copy(magic.begin(), magic.end(), forged.begin());
        EXPECT_FALSE(decodes(forged));
    }

    // A header that asks for a huge picture, or for rows the file does not have.
    auto bmp = test::makeBmp(4, 4, 24, {}, [](int, int) { return 0x808080u; });
    auto huge = bmp;
    test::put32(huge, 18, 100000);
    EXPECT_FALSE(decodes(huge));
    auto tall = bmp;
    test::put32(tall, 22, 5);
    EXPECT_FALSE(decodes(tall));
    auto pastEnd = bmp;
    test::put32(pastEnd, 10, 0xFFFFFF00);
    EXPECT_FALSE(decodes(pastEnd));
}

TEST_F(ImageCodecTest, DamagedBytesNeverBreakTheDecoders) {
    // Whatever a damaged byte does, the decoders answer cleanly; the sanitizers watch the reads.
    const auto bmp = test::makeBmp(9, 6, 4, kGreys, [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 5); });
    const auto jpeg = test::makeBlockJpeg(false);
    seedRandomWith(11);
    for (const auto& whole : {bmp, jpeg}) {
        for (int trial = 0; trial < 300; ++trial) {
            auto damaged = whole;
            const std::size_t at = static_cast<std::size_t>(rand15()) % std::min<std::size_t>(whole.size(), 200);
            damaged[at] = static_cast<std::uint8_t>(rand15());
            decodes(damaged);
        }
    }
}

}  // namespace lw
