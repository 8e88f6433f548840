#include "host/frame_scaling.h"

#include <algorithm>
#include <vector>

namespace lw {

namespace {

const std::uint32_t* frameRow(const FramePixels& frame, int topDownRow) {
    return frame.pixels + static_cast<std::size_t>(frame.height - 1 - topDownRow) * static_cast<std::size_t>(frame.width);
}

std::uint32_t* targetRow(const WindowPixels& target, int row) {
    return target.pixels + static_cast<std::ptrdiff_t>(row) * target.stride;
}

// The source index under the centre of target index i, when count targets cover size sources.
int sourceUnder(int i, int count, int size) {
    return static_cast<int>((2 * std::int64_t{i} + 1) * size / (2 * std::int64_t{count}));
}

}  // namespace

void copyFramePart(const FramePixels& frame, const ScreenRect& part, const WindowPixels& target, int originX,
                   int originY) {
    // Clip in frame coordinates, to the frame and to what lands inside the target.
    const int left = std::max({part.x, 0, -originX});
    const int top = std::max({part.y, 0, -originY});
    const int right = std::min({part.x + part.width, frame.width, target.width - originX});
    const int bottom = std::min({part.y + part.height, frame.height, target.height - originY});
    if (left >= right || top >= bottom) return;
    for (int y = top; y < bottom; ++y) {
        std::copy_n(frameRow(frame, y) + left, right - left, targetRow(target, y + originY) + left + originX);
    }
}

void scaleFrame(const FramePixels& frame, const WindowPixels& target, const ScreenRect& destination) {
    if (frame.width <= 0 || frame.height <= 0 || destination.empty()) return;
    const int left = std::max(destination.x, 0);
    const int top = std::max(destination.y, 0);
    const int right = std::min(destination.x + destination.width, target.width);
    const int bottom = std::min(destination.y + destination.height, target.height);
    if (left >= right || top >= bottom) return;
    std::vector<int> columns(static_cast<std::size_t>(right - left));
    for (int x = left; x < right; ++x) {
        columns[static_cast<std::size_t>(x - left)] = sourceUnder(x - destination.x, destination.width, frame.width);
    }
    for (int y = top; y < bottom; ++y) {
        const std::uint32_t* source = frameRow(frame, sourceUnder(y - destination.y, destination.height, frame.height));
        std::uint32_t* to = targetRow(target, y) + left;
        for (const int column : columns) *to++ = source[column];
    }
}

void copyOutside(const WindowPixels& from, const WindowPixels& to, const ScreenRect& kept) {
    const int left = std::clamp(kept.x, 0, to.width);
    const int right = std::clamp(kept.x + kept.width, left, to.width);
    for (int y = 0; y < to.height; ++y) {
        const std::uint32_t* source = targetRow(from, y);
        std::uint32_t* row = targetRow(to, y);
        if (y < kept.y || y >= kept.y + kept.height || kept.empty()) {
            std::copy_n(source, to.width, row);
            continue;
        }
        std::copy_n(source, left, row);
        std::copy_n(source + right, to.width - right, row + right);
    }
}

}  // namespace lw
