// Per-channel colour arithmetic on 0xAARRGGBB colours. These are the only colour operations of
// the engine; their rounding decides the look of every blended pixel. The fourth byte of every
// result is 0, and no channel ever carries into another.
#pragma once

#include <cstdint>

namespace lw {

using Colour = std::uint32_t;

namespace colourDetail {
constexpr int channel(Colour c, int shift) { return static_cast<int>((c >> shift) & 0xFFu); }
template <typename Op>
constexpr Colour perChannel(Colour a, Colour b, Op op) {
    return static_cast<Colour>(op(channel(a, 16), channel(b, 16))) << 16 |
           static_cast<Colour>(op(channel(a, 8), channel(b, 8))) << 8 |
           static_cast<Colour>(op(channel(a, 0), channel(b, 0)));
}
}  // namespace colourDetail

constexpr Colour addSat(Colour a, Colour b) {
    return colourDetail::perChannel(a, b, [](int x, int y) { return x + y > 255 ? 255 : x + y; });
}

constexpr Colour subSat(Colour a, Colour b) {
    return colourDetail::perChannel(a, b, [](int x, int y) { return x - y < 0 ? 0 : x - y; });
}

// Divides by 256, not 255: white times white is 0x00FEFEFE.
constexpr Colour mulColour(Colour a, Colour b) {
    return colourDetail::perChannel(a, b, [](int x, int y) { return (x * y) >> 8; });
}

// t runs 0..256; the step floors toward minus infinity (an arithmetic shift), also downwards.
constexpr Colour lerpColour(Colour a, Colour b, unsigned t) {
    const int weight = static_cast<int>(t);
    return colourDetail::perChannel(a, b, [weight](int x, int y) { return x + (((y - x) * weight) >> 8); });
}

}  // namespace lw
