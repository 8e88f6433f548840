#include <cmath>
#include <cstdint>

#include "sprites/sprite_images.h"
#include "sprites/sprite_tables.h"

namespace lw {

namespace {
const Vec3 kLightStart{-1.0 / std::sqrt(3.0), -1.0 / std::sqrt(3.0), -1.0 / std::sqrt(3.0)};
}  // namespace

Vec3 lightDirection = kLightStart;
double ballAmbient = 0.125;
double ballBackLight = 0.5;

namespace {

// Held inside a byte, so that odd lighting constants cannot carry into the next channel.
std::uint32_t scaledChannel(std::uint32_t colour, int shift, double m) {
    const double value = static_cast<double>((colour >> shift) & 0xFFu) * m + 0.5;
    if (!(value > 0.0)) return 0;
    if (value >= 255.0) return 255u << shift;
    return static_cast<std::uint32_t>(value) << shift;
}

std::uint32_t litTexel(const Vec3& normal, std::uint32_t colour) {
    double g = dot(normal, lightDirection);
    if (g < 0.0) g = ballBackLight * -g;
    const double m = ballAmbient + g * g * (3.0 - 2.0 * g) * (1.0 - ballAmbient);
    return 0xFF000000u | scaledChannel(colour, 16, m) | scaledChannel(colour, 8, m) | scaledChannel(colour, 0, m);
}

}  // namespace

void buildBallImages(PBall& style) {
    for (int i = 0; i < kTableSide; ++i) {
        for (int j = 0; j < kTableSide; ++j) {
            const int h = sphereTable[i * kTableSide + j].height;
            if (h == 0) continue;
            Vec3 n{static_cast<double>(j), static_cast<double>(i), h * -0.125};
            normalizeInPlace(n);
            // Screen rows grow downward, so the upper quadrants face negative y.
            const Vec3 mirrored[4] = {{-n.x, -n.y, n.z}, {n.x, -n.y, n.z}, {-n.x, n.y, n.z}, {n.x, n.y, n.z}};
            const int at = i * kTableSide + j;
            for (int q = 0; q < 4; ++q) style.images[q][at] = litTexel(mirrored[q], style.colour);
        }
    }
}

void resetBallImageState() {
    lightDirection = kLightStart;
    ballAmbient = 0.125;
    ballBackLight = 0.5;
}

}  // namespace lw
