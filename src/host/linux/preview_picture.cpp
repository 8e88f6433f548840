#include "host/linux/preview_picture.h"

#include <algorithm>

#include "host/linux/embedded_resources.h"
#include "host/linux/image_codec.h"

namespace lw::linuxhost {

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;

std::uint32_t blendChannel(std::uint32_t over, std::uint32_t under, std::uint32_t alpha) {
    return (over * alpha + under * (255 - alpha) + 127) / 255;
}

std::uint32_t blendPixel(std::uint32_t over, std::uint32_t under) {
    const std::uint32_t alpha = over >> 24;
    std::uint32_t result = 0xFF000000u;
    for (int shift : {16, 8, 0}) {
        result |= blendChannel(over >> shift & 0xFF, under >> shift & 0xFF, alpha) << shift;
    }
    return result;
}

}  // namespace

void drawIconOver(std::span<std::uint32_t> picture, int width, int height, const platform::DecodedImage& icon, int x,
                  int y) {
    if (icon.pixels == nullptr || picture.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return;
    }
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + icon.width, width);
    const int bottom = std::min(y + icon.height, height);
    for (int row = top; row < bottom; ++row) {
        const std::uint32_t* from = icon.pixels + static_cast<std::size_t>(row - y) * icon.width;
        std::uint32_t* to = picture.data() + static_cast<std::size_t>(row) * width;
        for (int col = left; col < right; ++col) to[col] = blendPixel(from[col - x], to[col]);
    }
}

std::vector<std::uint32_t> previewPicture() {
    std::vector<std::uint32_t> picture(static_cast<std::size_t>(kPreviewWidth) * kPreviewHeight, kBlack);
    for (const auto& placed : kPreviewIcons) {
        platform::DecodedImage icon;
        if (!decodeIcon(findEmbeddedResource(placed.name, L"ICON"), icon)) continue;
        drawIconOver(picture, kPreviewWidth, kPreviewHeight, icon, placed.x, placed.y);
        releasePicture(icon);
    }
    return picture;
}

}  // namespace lw::linuxhost
