// Blends of whole spans: a run of pixels of one row and, side by side, what each pixel takes:
// a weight of the sprite's colour (Normal spots) or a texel (the other spots). With SSE2 four
// pixels go at a time through the arithmetic of the scalar blends, every channel in a 16-bit lane:
// the largest sum, a (256 - t) + b t with bytes a and b, is 255 x 256 and still fits, so the
// results are exact. The scalar blends stay the reference (blendSpanScalar); spans shorter than
// four pixels take them unless the pixels up to a whole chunk of four lie free to the right.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

#include "sprites/blends.h"

namespace lw {

#if defined(__SSE2__)
namespace simd {

inline __m128i load4(const Colour* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store4(Colour* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i low(__m128i v) { return _mm_unpacklo_epi8(v, _mm_setzero_si128()); }
inline __m128i high(__m128i v) { return _mm_unpackhi_epi8(v, _mm_setzero_si128()); }
// Two pixels of 16-bit lanes back to bytes, the top byte of each pixel cleared as the blends do.
inline __m128i narrow(__m128i lo, __m128i hi) {
    return _mm_and_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(0x00FFFFFF));
}
// A colour's channels in the 16-bit lanes of two pixels.
inline __m128i lanesOf(Colour c) { return low(_mm_set1_epi32(static_cast<int>(c))); }
inline __m128i lanesOf(int value) { return _mm_set1_epi16(static_cast<short>(value)); }
// (a (256 - t) + b t) >> 8 per lane: lerpColour.
inline __m128i mix(__m128i a, __m128i b, __m128i t) {
    const __m128i rest = _mm_sub_epi16(_mm_set1_epi16(256), t);
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, rest), _mm_mullo_epi16(b, t)), 8);
}
// a + ((b - a) t >> 8) per lane, the same as mix(a, b, t) for t of 0..255 but one multiply
// instead of two: (b - a) 128 and 2 t fit signed 16-bit lanes, and the high half of their
// product, floored as the arithmetic shift floors, is (b - a) t >> 8. `step` is (b - a) 128.
inline __m128i stepOf(__m128i a, __m128i b) { return _mm_slli_epi16(_mm_sub_epi16(b, a), 7); }
inline __m128i stepScaled(__m128i step, __m128i doubledT) { return _mm_mulhi_epi16(step, doubledT); }
// (a b) >> 8 per lane: mulColour, and the scaling of channels by a weight.
inline __m128i product(__m128i a, __m128i b) { return _mm_srli_epi16(_mm_mullo_epi16(a, b), 8); }
// Four bytes, each doubled and spread over the four lanes of its pixel: two vectors of two pixels.
inline void spreadDoubledBytes(const std::uint8_t* bytes, __m128i& lo, __m128i& hi) {
    std::int32_t four = 0;
    std::memcpy(&four, bytes, 4);
    __m128i words = low(_mm_cvtsi32_si128(four));
    words = _mm_add_epi16(words, words);
    const __m128i pairs = _mm_unpacklo_epi16(words, words);
    lo = _mm_unpacklo_epi32(pairs, pairs);
    hi = _mm_unpackhi_epi32(pairs, pairs);
}
// The first `inside` (0..4) pixels from `blended`, the rest from `old` as they were, top bytes
// included.
inline __m128i keepPast(__m128i blended, __m128i old, int inside) {
    alignas(16) static constexpr std::int32_t kLanes[8] = {-1, -1, -1, -1, 0, 0, 0, 0};
    const __m128i taken = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kLanes + 4 - inside));
    return _mm_or_si128(_mm_and_si128(taken, blended), _mm_andnot_si128(taken, old));
}
// The blue byte of each pixel over its four lanes.
inline __m128i spreadBlue(__m128i lanes) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(lanes, 0), 0);
}

}  // namespace simd
#endif

#if defined(__wasm_simd128__)
// The page's build runs the SSE2 code through WebAssembly's SIMD, which has no high-half multiply:
// _mm_mulhi_epi16 becomes two widening multiplies and a shuffle. Its 16-bit multiply is native,
// so the weights' mix goes through that instead, with the same results.
namespace wasmsimd {

// d + ((c - d) t >> 8) per lane, floored, for lanes of 0..255: the sum (d << 8) + (c - d) t is
// d (256 - t) + c t, at most 255 x 256, so it comes out exact although the multiply wraps.
inline v128_t mixToward(v128_t d, v128_t c, v128_t t) {
    return wasm_u16x8_shr(wasm_i16x8_add(wasm_i16x8_shl(d, 8), wasm_i16x8_mul(wasm_i16x8_sub(c, d), t)), 8);
}
// Four bytes, each spread over the four lanes of its pixel: two vectors of two pixels. Byte 4
// of the load is zero and fills the lanes' high bytes.
inline void spreadBytes(const std::uint8_t* bytes, v128_t& lo, v128_t& hi) {
    const v128_t four = wasm_v128_load32_zero(bytes);
    lo = wasm_i8x16_shuffle(four, four, 0, 4, 0, 4, 0, 4, 0, 4, 1, 4, 1, 4, 1, 4, 1, 4);
    hi = wasm_i8x16_shuffle(four, four, 2, 4, 2, 4, 2, 4, 2, 4, 3, 4, 3, 4, 3, 4, 3, 4);
}

}  // namespace wasmsimd
#endif

// A Normal spot: the sprite's colour weighted per pixel, and mixed with the old pixel by alpha
// first when the sprite is not opaque.
class WeightInk {
public:
    using Texel = std::uint8_t;

    // Tint and fog are in the colour.
    WeightInk(int alpha, Colour colour) : paint_{kNoTint, alpha, 255, 0, false}, colour_(colour) {}

    void blend(Colour& pixel, Texel weight) const { NormalBlend::blend(paint_, pixel, colour_, weight); }
#if defined(__SSE2__)
    __m128i blend4(__m128i pixels, const Texel* weights) const {
        return opaque_ ? blend4Of<true>(pixels, weights) : blend4Of<false>(pixels, weights);
    }
    // With the opacity known where the ink is made, so that a loop need not test it per chunk.
    template <bool kOpaque>
    __m128i blend4Of(__m128i pixels, const Texel* weights) const {
#if defined(__wasm_simd128__)
        v128_t wLo, wHi;
        wasmsimd::spreadBytes(weights, wLo, wHi);
        const auto p = static_cast<v128_t>(pixels);
        const v128_t lo = mixed<kOpaque>(wasm_u16x8_extend_low_u8x16(p), wLo);
        const v128_t hi = mixed<kOpaque>(wasm_u16x8_extend_high_u8x16(p), wHi);
        return static_cast<__m128i>(wasm_v128_and(wasm_u8x16_narrow_i16x8(lo, hi), wasm_i32x4_const_splat(0x00FFFFFF)));
#else
        __m128i wLo, wHi;
        simd::spreadDoubledBytes(weights, wLo, wHi);
        return simd::narrow(mixed<kOpaque>(simd::low(pixels), wLo), mixed<kOpaque>(simd::high(pixels), wHi));
#endif
    }
#endif
    bool opaque() const { return paint_.alpha == 255; }

private:
    // The pixel d steps toward the colour by alpha (unless opaque), then by the weight.
#if defined(__wasm_simd128__)
    template <bool kOpaque>
    v128_t mixed(v128_t d, v128_t weight) const {
        const v128_t toward = kOpaque ? colourLanes_ : wasmsimd::mixToward(d, colourLanes_, alphaLanes_);
        return wasmsimd::mixToward(d, toward, weight);
    }
#elif defined(__SSE2__)
    template <bool kOpaque>
    __m128i mixed(__m128i d, __m128i doubledWeight) const {
        __m128i step = simd::stepOf(d, colourLanes_);
        if constexpr (!kOpaque) step = _mm_slli_epi16(simd::stepScaled(step, doubledAlphaLanes_), 7);
        return _mm_add_epi16(d, simd::stepScaled(step, doubledWeight));
    }
#endif

    Paint paint_;
    Colour colour_;
#if defined(__SSE2__)
    bool opaque_ = paint_.alpha == 255;
#endif
#if defined(__wasm_simd128__)
    v128_t colourLanes_ = wasm_u16x8_extend_low_u8x16(wasm_i32x4_splat(static_cast<std::int32_t>(colour_)));
    v128_t alphaLanes_ = wasm_i16x8_splat(static_cast<std::int16_t>(paint_.alpha));
#elif defined(__SSE2__)
    __m128i colourLanes_ = simd::lanesOf(colour_);
    __m128i doubledAlphaLanes_ = simd::lanesOf(2 * paint_.alpha);
#endif
};

// The other spots: each texel tinted, dimmed and blended whole.
template <class Blend>
struct TexelInk {
    using Texel = Colour;
    static constexpr bool kMultiply = std::is_same_v<Blend, MultiplyBlend>;
    Paint paint;

    void blend(Colour& pixel, Texel texel) const { Blend::blend(paint, pixel, texel, kWholeCoverage); }
#if defined(__SSE2__)
    __m128i blend4(__m128i pixels, const Texel* texels) const {
        const __m128i t = simd::load4(texels);
        if constexpr (kMultiply) {
            return simd::narrow(simd::product(simd::low(pixels), multiplier(simd::low(t))),
                                simd::product(simd::high(pixels), multiplier(simd::high(t))));
        } else {
            const __m128i s = simd::narrow(source(simd::low(t)), source(simd::high(t)));
            const bool adds = std::is_same_v<Blend, AddBlend>;
            return _mm_and_si128(adds ? _mm_adds_epu8(pixels, s) : _mm_subs_epu8(pixels, s), _mm_set1_epi32(0x00FFFFFF));
        }
    }

private:
    __m128i source(__m128i s) const {
        if (paint.tint != kNoTint) s = simd::product(s, simd::lanesOf(paint.tint));
        if (paint.intensity != 255) s = simd::product(s, simd::lanesOf(paint.intensity));
        return s;
    }
    // With a tint the blue byte picks a grey between the tint and white; fog fades toward white.
    __m128i multiplier(__m128i s) const {
        const __m128i white = simd::lanesOf(255);
        if (paint.tint != kNoTint) s = simd::mix(simd::lanesOf(paint.tint), white, simd::spreadBlue(s));
        if (paint.intensity != 255) s = simd::mix(white, s, simd::lanesOf(paint.intensity));
        return s;
    }
#endif
};

template <class Ink>
void blendSpanScalar(const Ink& ink, Colour* pixels, const typename Ink::Texel* texels, int count) {
    for (int i = 0; i < count; ++i) ink.blend(pixels[i], texels[i]);
}

template <class Ink>
void blendSpan(const Ink& ink, Colour* pixels, const typename Ink::Texel* texels, int count) {
#if defined(__SSE2__)
    if (count >= 4) {
        // The last four first, from the pixels as they are: the loop's last store may overlap
        // them, and then writes the same values.
        const __m128i last = ink.blend4(simd::load4(pixels + count - 4), texels + count - 4);
        for (int i = 0; i + 4 < count; i += 4) simd::store4(pixels + i, ink.blend4(simd::load4(pixels + i), texels + i));
        simd::store4(pixels + count - 4, last);
        return;
    }
#endif
    blendSpanScalar(ink, pixels, texels, count);
}

// A span whose pixels and texels, its count rounded up to a multiple of four, may be read, and its
// pixels past the span written back as they were: no other thread may draw them meanwhile. Short
// spans and the tails of longer ones then take one chunk of four each, without branching on the
// count. A count of 0 writes back four pixels unchanged.
template <class Ink>
void blendPaddedSpan(const Ink& ink, Colour* pixels, const typename Ink::Texel* texels, int count) {
#if defined(__SSE2__)
    int i = 0;
    for (; count - i > 4; i += 4) simd::store4(pixels + i, ink.blend4(simd::load4(pixels + i), texels + i));
    const __m128i old = simd::load4(pixels + i);
    simd::store4(pixels + i, simd::keepPast(ink.blend4(old, texels + i), old, count - i));
#else
    blendSpanScalar(ink, pixels, texels, count);
#endif
}

}  // namespace lw
