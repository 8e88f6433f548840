// The page's decoder (stb_image) beside the Linux program's (TurboJPEG, SDL2's BMP reader), on
// every picture of resources/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "host/linux/embedded_resources.h"
#include "host/linux/image_codec.h"
#include "host/stb/stb_codec.h"
#include "picture_builders.h"

namespace lw {

namespace {

using platform::DecodedImage;

struct Decoded {
    DecodedImage image;
    bool ok = false;
    Decoded(bool (*decode)(std::span<const std::uint8_t>, DecodedImage&), std::span<const std::uint8_t> bytes)
        : ok(decode(bytes, image)) {}
    ~Decoded() { linuxhost::releasePicture(image); }
};

// The largest difference of one channel between the two pictures, and the differences' sum.
std::pair<int, long long> channelDifferences(const DecodedImage& a, const DecodedImage& b) {
    int largest = 0;
    long long sum = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(a.width) * a.height; ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            const int d = std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) - static_cast<int>((b.pixels[i] >> shift) & 0xFF));
            largest = std::max(largest, d);
            sum += d;
        }
    }
    return {largest, sum};
}

// The two JPEG decoders differ in their arithmetic, not in what they decode: each channel of
// every texture within two levels and hardly ever off at all (over the 43 textures, at most 2,
// 0.0025 on average), and the bitmaps the very same pixels.
TEST(StbCodecTest, DecodesEveryPictureOfTheProgramAsItsLinuxDecodersDo) {
    int jpegs = 0;
    int bitmaps = 0;
    for (const auto& resource : linuxhost::embeddedResources()) {
        const std::wstring type = resource.type;
        if (type == L"ICON") continue;
        const std::span<const std::uint8_t> bytes(resource.bytes, resource.size);
        const bool jpeg = type == L"BINARYDATA";
        const Decoded ours(jpeg ? linuxhost::stb::decodeJpeg : linuxhost::stb::decodeBmp, bytes);
        const Decoded theirs(jpeg ? linuxhost::decodeJpeg : linuxhost::decodeBmp, bytes);
        ASSERT_TRUE(ours.ok && theirs.ok);
        ASSERT_EQ(ours.image.width, theirs.image.width);
        ASSERT_EQ(ours.image.height, theirs.image.height);
        const auto [largest, sum] = channelDifferences(ours.image, theirs.image);
        const double mean = static_cast<double>(sum) / (3.0 * ours.image.width * ours.image.height);
        EXPECT_LE(largest, jpeg ? 2 : 0);
        EXPECT_LT(mean, jpeg ? 0.01 : 1e-9);
        (jpeg ? jpegs : bitmaps) += 1;
    }
    EXPECT_EQ(jpegs, 43);
    EXPECT_EQ(bitmaps, 2);
}

// A JPEG cut short, progressive (as the program's textures are) or baseline, is refused by both.
TEST(StbCodecTest, RefusesWhatTurboJpegRefuses) {
    const auto texture = linuxhost::findEmbeddedResource(L"KOR_01", L"BINARYDATA");
    const std::vector<std::uint8_t> baseline = test::makeBlockJpeg(false);
    ASSERT_FALSE(texture.empty());
    for (const std::span<const std::uint8_t> whole : {texture, std::span<const std::uint8_t>(baseline)}) {
        ASSERT_TRUE(Decoded(linuxhost::stb::decodeJpeg, whole).ok);
        for (const std::size_t kept : {whole.size() / 2, whole.size() - 2, std::size_t{3}, std::size_t{0}}) {
            const Decoded cut(linuxhost::stb::decodeJpeg, whole.first(kept));
            EXPECT_FALSE(cut.ok) << kept << " of " << whole.size() << " bytes";
            EXPECT_EQ(cut.image.pixels, nullptr);
            EXPECT_FALSE(Decoded(linuxhost::decodeJpeg, whole.first(kept)).ok);
        }
    }
    const std::uint8_t notAPicture[] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(Decoded(linuxhost::stb::decodeBmp, notAPicture).ok);
}

}  // namespace

}  // namespace lw
