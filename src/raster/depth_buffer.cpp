#include "raster/depth_buffer.h"

#include <cstring>

#include "host/memory.h"
#include "raster/frame_buffer.h"

namespace lw {

namespace {
constexpr int kClearByte = depthClearValue & 0xFF;
static_assert(depthClearValue == kClearByte * 0x01010101, "the clear value must be one byte repeated");
}  // namespace

std::int32_t* depthBuffer = nullptr;

void createDepthBuffer() {
    releaseDepthBuffer();
    const std::size_t cells = static_cast<std::size_t>(frameWidth) * static_cast<std::size_t>(frameHeight);
    depthBuffer = static_cast<std::int32_t*>(allocGlobal(cells * sizeof(std::int32_t), 1));
}

void releaseDepthBuffer() {
    freeGlobal(depthBuffer);
    depthBuffer = nullptr;
}

void clearDepthRows(const DrawTarget& t) {
    if (t.depth == nullptr) return;
    const std::size_t rowBytes = static_cast<std::size_t>(t.right - t.left + 1) * sizeof(std::int32_t);
    for (int y = t.top; y <= t.bottom; ++y) std::memset(t.depth + t.rows[y] + t.left, kClearByte, rowBytes);
}

void resetDepthBuffer() { releaseDepthBuffer(); }

}  // namespace lw
