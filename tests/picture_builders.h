// Pictures made byte by byte for the decoder tests: BMP files of any bit depth and JPEGs of
// flat colour blocks, which survive compression nearly unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "host/linux/image_codec.h"

namespace lw::test {

inline void put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, value & 0xFFFF);
    put16(bytes, at + 2, value >> 16);
}

// A BMP with a BITMAPINFOHEADER. value(x, y), y counted from the top, is a palette index for
// 4 and 8 bits and a 0xRRGGBB colour for 24 bits. Rows are stored bottom-up unless topDown.
inline std::vector<std::uint8_t> makeBmp(int width, int height, int bitCount, const std::vector<std::uint32_t>& palette,
                                         const std::function<std::uint32_t(int, int)>& value, bool topDown = false) {
    const std::size_t rowBytes = static_cast<std::size_t>((width * bitCount + 31) / 32 * 4);
    const std::size_t offset = 14 + 40 + palette.size() * 4;
    std::vector<std::uint8_t> bytes(offset + rowBytes * height, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    put32(bytes, 10, static_cast<std::uint32_t>(offset));
    put32(bytes, 14, 40);
    put32(bytes, 18, static_cast<std::uint32_t>(width));
    put32(bytes, 22, static_cast<std::uint32_t>(topDown ? -height : height));
    put16(bytes, 26, 1);
    put16(bytes, 28, static_cast<std::uint32_t>(bitCount));
    put32(bytes, 46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) put32(bytes, 54 + 4 * i, palette[i]);
    for (int k = 0; k < height; ++k) {
        const int y = topDown ? k : height - 1 - k;
        std::uint8_t* row = bytes.data() + offset + rowBytes * k;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = value(x, y);
            if (bitCount == 4) {
                row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : v);
            } else if (bitCount == 8) {
                row[x] = static_cast<std::uint8_t>(v);
            } else {
                row[3 * x] = static_cast<std::uint8_t>(v);
                row[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                row[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
            }
        }
    }
    return bytes;
}

// Four flat 8 x 8 blocks: red, green, blue and grey, left to right and top to bottom.
inline std::uint32_t blockColour(int x, int y) {
    static constexpr std::uint32_t colours[4] = {0xFFE01010, 0xFF10E010, 0xFF1010E0, 0xFF808080};
    return colours[(y / 8) * 2 + x / 8];
}

inline std::vector<std::uint8_t> makeBlockJpeg(bool progressive) {
    std::vector<std::uint32_t> argb(16 * 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) argb[y * 16 + x] = blockColour(x, y);
    }
    return linuxhost::encodeJpeg(argb.data(), 16, 16, 100, progressive);
}

// True when the colour bytes differ by at most tolerance each and the alpha bytes are equal.
inline bool nearlyEqual(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return (a >> 24) == (b >> 24);
}

}  // namespace lw::test
