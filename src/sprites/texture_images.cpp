#include <cstdint>

#include "host/process.h"
#include "overlay/resource_image.h"
#include "raster/colour.h"
#include "sprites/sprite_images.h"
#include "sprites/sprite_tables.h"

namespace lw {

namespace {

constexpr const wchar_t* kNotFound = L"PSI: JPG Resource Not Found";
constexpr const wchar_t* kWrongResolution = L"PSI: JPG Resource Have Wrong Resolution";

// How a square source picture maps onto the 256 x 256 quadrants: a 255-pixel picture serves
// each source pixel to 2 x 2 texels, a 511-pixel one is used one to one.
struct SourceGeometry {
    int shift;
    int centre;
};

// Leaves nothing loaded and the decoder's user count as it was, then reports.
[[noreturn]] void failLoad(const wchar_t* text) {
    unlockImage();
    releaseImage();
    gdiplusEnd();
    fatalError(text);
}

SourceGeometry geometryOfLockedImage() {
    // The quadrant walk reads centre +- 255 >> shift in both directions, so the height must
    // match the width, or rows past the decoded picture would be read.
    if (imageHeight != imageWidth || imageStride != imageWidth * 4) failLoad(kWrongResolution);
    if (imageWidth == 255) return {1, 127};
    if (imageWidth == 511) return {0, 255};
    failLoad(kWrongResolution);
}

std::uint32_t texelFrom(std::uint32_t source, std::uint32_t colour, bool blueIsMask) {
    // A multiply texture moves white toward the colour by the picture's blue channel.
    if (blueIsMask) return lerpColour(0xFFFFFFu, colour, source & 0xFFu);
    return mulColour(source, colour);
}

void fillQuadrants(PBall& style, const SourceGeometry& g, std::uint32_t colour, bool blueIsMask) {
    const int pitch = imageWidth;
    for (int i = 0; i < kTableSide; ++i) {
        const int ii = i >> g.shift;
        const std::uint32_t* above = imagePixels + (g.centre - ii) * pitch + g.centre;
        const std::uint32_t* below = imagePixels + (g.centre + ii) * pitch + g.centre;
        for (int j = 0; j < kTableSide; ++j) {
            const int jj = j >> g.shift;
            const int at = i * kTableSide + j;
            style.images[0][at] = texelFrom(above[-jj], colour, blueIsMask);
            style.images[1][at] = texelFrom(above[jj], colour, blueIsMask);
            style.images[2][at] = texelFrom(below[-jj], colour, blueIsMask);
            style.images[3][at] = texelFrom(below[jj], colour, blueIsMask);
        }
    }
}

}  // namespace

void loadTextureImages(PBall& style, const wchar_t* resourceName) {
    const std::uint32_t kind = spriteKindOf(style.kind);
    const std::uint32_t mode = blendModeOf(style.kind);
    const bool normalSpot = kind == SpriteKind::Spot && mode == BlendMode::Normal;
    const std::uint32_t colour = normalSpot ? 0xFF0000FFu : style.colour;
    const bool blueIsMask = kind != SpriteKind::Disc && mode == BlendMode::Multiply;

    gdiplusBegin();
    resourceType = kJpegResourceType;
    if (!loadImage(resourceName)) failLoad(kNotFound);
    if (lockImage() == 0 || imagePixels == nullptr) failLoad(kNotFound);
    fillQuadrants(style, geometryOfLockedImage(), colour, blueIsMask);
    unlockImage();
    releaseImage();
    gdiplusEnd();
}

}  // namespace lw
