#include <cmath>
#include <cstdint>

#include "sprites/sprite_images.h"
#include "sprites/sprite_tables.h"

namespace lw {

double spotScale = 1.0;
double spotBias = 0.5;

namespace {

constexpr std::uint32_t kNormalSpotColour = 0xFF0000FFu;  // shape in the blue channel only
constexpr double kInverse255 = 0.00392156862745098;

std::uint32_t clampedByte(double value) {
    if (!(value > 0.0)) return 0;  // NaN too, from a spotScale that makes the normaliser 0
    if (value >= 255.0) return 255;
    return static_cast<std::uint32_t>(value);
}

// m is the spot's strength at a texel: 1 at the centre, falling to 0 at the outline.
double spotStrength(int i, int j) {
    const double normaliser = spotScale * spotScale * (3.0 - 2.0 * spotScale);
    const double r = std::sqrt(static_cast<double>(i * i + j * j));
    const double f = spotScale * (1.0 - r * kInverse255);
    const double falloff = f * f * (3.0 - 2.0 * f) / normaliser;
    const double l = 1.0 - spotBias * falloff;
    return l == 0.0 ? 1.0 : 1.0 - (1.0 - falloff) / l;
}

std::uint32_t spotTexel(std::uint32_t colour, double m, bool multiply) {
    std::uint32_t texel = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const double x = static_cast<double>((colour >> shift) & 0xFFu);
        // A multiply spot runs from white (neutral) at the rim toward its colour at the centre.
        const double value = multiply ? m * (x - 255.0) + 255.5 : x * m + 0.5;
        texel |= clampedByte(value) << shift;
    }
    return texel;
}

}  // namespace

void buildSpotImages(PBall& style) {
    const std::uint32_t mode = blendModeOf(style.kind);
    const std::uint32_t colour = mode == BlendMode::Normal ? kNormalSpotColour : style.colour;
    const bool multiply = mode == BlendMode::Multiply;
    for (int i = 0; i < kTableSide; ++i) {
        for (int j = 0; j < kTableSide; ++j) {
            if (sphereTable[i * kTableSide + j].height == 0) continue;
            const std::uint32_t texel = spotTexel(colour, spotStrength(i, j), multiply);
            for (auto* image : style.images) image[i * kTableSide + j] = texel;
        }
    }
}

void resetSpotImageState() {
    spotScale = 1.0;
    spotBias = 0.5;
}

}  // namespace lw
