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

// Two-lane arithmetic: blue and red in one word (16 bits apart), green in another, so one add or
// multiply serves two channels; each channel keeps its own carry bit and never reaches the next.
constexpr Colour addSat(Colour a, Colour b) {
    const Colour rb = (a & 0xFF00FFu) + (b & 0xFF00FFu);
    const Colour g = (a & 0x00FF00u) + (b & 0x00FF00u);
    const Colour rbCarry = rb & 0x01000100u;
    const Colour gCarry = g & 0x00010000u;
    return ((rb | (rbCarry - (rbCarry >> 8))) & 0xFF00FFu) | ((g | (gCarry - (gCarry >> 8))) & 0x00FF00u);
}

constexpr Colour subSat(Colour a, Colour b) {
    // A borrow sets the lane's bit 8 (or 16); it then selects 0 for that channel.
    const Colour rb = ((a & 0xFF00FFu) | 0x01000100u) - (b & 0xFF00FFu);
    const Colour g = ((a & 0x00FF00u) | 0x00010000u) - (b & 0x00FF00u);
    const Colour rbKeep = rb & 0x01000100u;
    const Colour gKeep = g & 0x00010000u;
    return (rb & (rbKeep - (rbKeep >> 8))) | (g & (gKeep - (gKeep >> 8)));
}

// Divides by 256, not 255: white times white is 0x00FEFEFE.
constexpr Colour mulColour(Colour a, Colour b) {
    return colourDetail::perChannel(a, b, [](int x, int y) { return (x * y) >> 8; });
}

// t runs 0..256; the step floors toward minus infinity, also downwards: a + floor((b - a) t / 256)
// equals floor((a (256 - t) + b t) / 256), which two-lane arithmetic computes exactly.
constexpr Colour lerpColour(Colour a, Colour b, unsigned t) {
    const Colour rest = 256u - t;
    const Colour rb = ((a & 0xFF00FFu) * rest + (b & 0xFF00FFu) * t) >> 8;
    const Colour g = ((a & 0x00FF00u) * rest + (b & 0x00FF00u) * t) >> 8;
    return (rb & 0xFF00FFu) | (g & 0x00FF00u);
}

}  // namespace lw
