#include "overlay/screen_image.h"

#include <algorithm>
#include <new>

#include "host/memory.h"
#include "host/process.h"
#include "overlay/resource_image.h"
#include "raster/colour.h"
#include "raster/frame_buffer.h"

namespace lw {

namespace {

// 255/256 per channel: pure white is stored as 0xFFFEFEFE.
std::uint32_t scaledOpaque(std::uint32_t p) {
    const auto scale = [](std::uint32_t c) { return (c * 255u) >> 8; };
    return 0xFF000000u | scale((p >> 16) & 0xFFu) << 16 | scale((p >> 8) & 0xFFu) << 8 | scale(p & 0xFFu);
}

void blendPixel(std::uint32_t& d, std::uint32_t s, int kind) {
    switch (kind) {
        case AlphaBlend: {
            const std::uint32_t a = s >> 24;
            if (a == 255) {
                d = s;
            } else if (a != 0) {
                d = lerpColour(d, s, a);
            }
            break;
        }
        case AddBlend: d = addSat(d, s); break;
        case SubtractBlend: d = subSat(d, s); break;
        case BlackPunch:
            if (s == 0xFF000000u) d = 0;
            break;
        case WhiteStamp:
            if (s == 0xFFFFFFFFu) d = 0x00FFFFFFu;
            break;
        default: d = s; break;
    }
}

bool drawsNothing(int kind) { return kind == 4 || kind == 5 || kind == 6; }

// The pictures of the frame being drawn; the program puts two on each.
constexpr int kMostFrameImages = 16;
ScreenImage frameImages[kMostFrameImages];
int frameImageCount = 0;

// A viewport narrower or lower than the picture (a small window, the 240 x 180 default frame)
// would put it partly outside the frame: only the part inside the viewport is drawn.
void drawImageRows(const ScreenImage& image, const DrawTarget& t) {
    const int firstColumn = std::max({image.x, 0, t.left});
    const int lastColumn = std::min({image.xEnd, image.x + image.width - 1, t.right});
    const int firstRow = std::max({image.y, 0, t.top});
    const int lastRow = std::min({image.yEnd, image.y + image.height - 1, t.bottom});
    for (int row = firstRow; row <= lastRow; ++row) {
        const std::uint32_t* source = image.picture + static_cast<std::size_t>(row - image.y) * image.width;
        std::uint32_t* target = t.pixels + t.rows[row];
        for (int column = firstColumn; column <= lastColumn; ++column) {
            blendPixel(target[column], source[column - image.x], image.kind);
        }
    }
}

}  // namespace

bool loadScreenImage(ScreenImage& image, const wchar_t* resourceName) {
    freeAligned(image.picture);
    image.picture = nullptr;
    image.xEnd = image.x + image.width - 1;
    image.yEnd = image.y + image.height - 1;
    if (resourceName == nullptr || resourceName[0] == L'\0') return false;

    gdiplusBegin();
    if (!loadImage(resourceName)) fatalError(L"JPG or BMP Resource Not Found");
    lockImage();
    if (imagePixels == nullptr || imageWidth <= 0 || imageHeight <= 0) {
        unlockImage();
        releaseImage();
        fatalError(L"JPG or BMP Resource Not Found");
    }
    image.width = imageWidth;
    image.height = imageHeight;
    const std::size_t count = static_cast<std::size_t>(imageWidth) * static_cast<std::size_t>(imageHeight);
    image.picture = static_cast<std::uint32_t*>(alloc16(count * 4, 0));
    const auto* source = static_cast<const std::uint32_t*>(imagePixels);
    for (std::size_t i = 0; i < count; ++i) image.picture[i] = scaledOpaque(source[i]);
    unlockImage();
    releaseImage();
    gdiplusEnd();
    return image.picture != nullptr;
}

void createScreenImage(ScreenImage*& image, const wchar_t* resourceName) {
    destroyScreenImage(image);
    image = new (std::nothrow) ScreenImage{};
    if (image == nullptr) fatalError(kAllocationFailedText);
    loadScreenImage(*image, resourceName);
}

void placeBottomLeft(ScreenImage& image, int dx, int dy, int kind) {
    if (kind != -1) image.kind = kind;
    image.x = dx;
    image.y = viewHeight - image.height - dy;
    image.xEnd = image.x + image.width - 1;
    image.yEnd = viewHeight - dy - 1;
}

void placeBottomRight(ScreenImage& image, int dx, int dy, int kind) {
    if (kind != -1) image.kind = kind;
    image.x = viewWidth - image.width - dx;
    image.y = viewHeight - image.height - dy;
    image.xEnd = viewWidth - dx - 1;
    image.yEnd = viewHeight - dy - 1;
}

void drawScreenImage(const ScreenImage& image) {
    if (image.picture == nullptr || drawsNothing(image.kind)) return;
    if (frameImageCount == kMostFrameImages) fatalError(L"Too many screen images on one frame");
    frameImages[frameImageCount++] = image;
}

void drawFrameScreenImages(const DrawTarget& target) {
    for (int i = 0; i < frameImageCount; ++i) drawImageRows(frameImages[i], target);
}

void clearFrameScreenImages() { frameImageCount = 0; }

void destroyScreenImage(ScreenImage*& image) {
    if (image == nullptr) return;
    freeAligned(image->picture);
    delete image;
    image = nullptr;
}

}  // namespace lw
