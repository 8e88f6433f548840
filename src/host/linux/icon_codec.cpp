// Icon files: a directory of images, each a bottom-up DIB of twice the icon's height (the colour
// rows, then a 1-bit AND mask of the same height) or an embedded PNG.
#include <cstring>

#include "host/linux/image_codec.h"

namespace lw::linuxhost {

namespace {

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kDirectoryEntry = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr int kPreferredSide = 32;
constexpr int kLargestIconSide = 256;

struct IconImage {
    std::span<const std::uint8_t> bytes;  // the DIB: info header, colour rows, mask rows
    int width = 0;
    int height = 0;
    int bitCount = 0;
    std::size_t colourStride = 0;
    std::size_t maskStride = 0;
    bool hasMask = false;
};

std::uint32_t read16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return read16(bytes, at) | read16(bytes, at + 2) << 16;
}

// The bytes of the directory entry that LoadIcon would pick at the standard size.
std::span<const std::uint8_t> chooseEntry(std::span<const std::uint8_t> file) {
    if (file.size() < kDirectoryHeader || read16(file, 0) != 0 || read16(file, 2) != 1) return {};
    const std::size_t count = read16(file, 4);
    if (count == 0 || file.size() < kDirectoryHeader + count * kDirectoryEntry) return {};
    std::size_t chosen = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kDirectoryHeader + i * kDirectoryEntry;
        if (file[entry] == kPreferredSide && file[entry + 1] == kPreferredSide) {
            chosen = i;
            break;
        }
    }
    const std::size_t entry = kDirectoryHeader + chosen * kDirectoryEntry;
    const std::uint64_t size = read32(file, entry + 8);
    const std::uint64_t offset = read32(file, entry + 12);
    if (offset > file.size() || size > file.size() - offset) return {};
    return file.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
}

bool readImage(std::span<const std::uint8_t> dib, IconImage& image) {
    if (dib.size() < kInfoHeaderSize || read32(dib, 0) < kInfoHeaderSize || read32(dib, 0) > dib.size()) return false;
    const auto width = static_cast<std::int32_t>(read32(dib, 4));
    const auto doubledHeight = static_cast<std::int32_t>(read32(dib, 8));
    const int bitCount = static_cast<int>(read16(dib, 14));
    const std::uint32_t compression = read32(dib, 16);
    if (width < 1 || width > kLargestIconSide || doubledHeight < 2 || doubledHeight > 2 * kLargestIconSide) return false;
    if ((bitCount != 24 && bitCount != 32) || compression != 0) return false;
    image.width = width;
    image.height = doubledHeight / 2;
    image.bitCount = bitCount;
    image.colourStride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    image.maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    const std::size_t colourEnd = read32(dib, 0) + image.colourStride * image.height;
    if (colourEnd > dib.size()) return false;
    image.hasMask = colourEnd + image.maskStride * image.height <= dib.size();
    // Without alpha the mask is the only word on transparency; a 24-bit image must have it.
    if (bitCount == 24 && !image.hasMask) return false;
    image.bytes = dib;
    return true;
}

bool maskedOut(const IconImage& image, int x, int row) {
    const std::size_t maskStart = read32(image.bytes, 0) + image.colourStride * image.height;
    const std::uint8_t bits = image.bytes[maskStart + image.maskStride * row + x / 8];
    return (bits >> (7 - x % 8) & 1) != 0;
}

std::uint32_t colourAt(const IconImage& image, int x, int row) {
    const std::size_t at = read32(image.bytes, 0) + image.colourStride * row + static_cast<std::size_t>(x) * (image.bitCount / 8);
    if (image.bitCount == 32) return read32(image.bytes, at);
    return 0xFF000000u | static_cast<std::uint32_t>(image.bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(image.bytes[at + 1]) << 8 | image.bytes[at];
}

// A 32-bit icon whose alpha bytes are all 0 is an old one: its mask says what is transparent.
bool alphaUnused(const IconImage& image) {
    if (image.bitCount != 32) return true;
    for (int row = 0; row < image.height; ++row) {
        for (int x = 0; x < image.width; ++x) {
            if ((colourAt(image, x, row) >> 24) != 0) return false;
        }
    }
    return true;
}

void copyImage(const IconImage& image, std::uint32_t* target) {
    const bool oldStyle = alphaUnused(image);
    const bool useMask = oldStyle && image.hasMask;
    const bool opaque = oldStyle && !image.hasMask;
    for (int y = 0; y < image.height; ++y) {
        const int row = image.height - 1 - y;  // stored bottom-up
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t pixel = colourAt(image, x, row);
            if (useMask) pixel = (pixel & 0x00FFFFFFu) | (maskedOut(image, x, row) ? 0u : 0xFF000000u);
            if (opaque) pixel |= 0xFF000000u;
            target[static_cast<std::size_t>(y) * image.width + x] = pixel;
        }
    }
}

}  // namespace

bool decodeIcon(std::span<const std::uint8_t> bytes, platform::DecodedImage& out) {
    out = {};
    IconImage image;
    if (!readImage(chooseEntry(bytes), image)) return false;
    if (!allocatePicture(out, image.width, image.height)) return false;
    copyImage(image, out.pixels);
    return true;
}

}  // namespace lw::linuxhost
