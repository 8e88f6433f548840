#include "raster/small_frame.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/memory.h"
#include "raster/frame_buffer.h"

namespace lw {

int smallFrameWanted = 0;
int smallFrameActive = 0;
int smallFrameReady = 0;
std::uint32_t* smallPixels = nullptr;

namespace {

// The live values that the switch between the two frames swaps as one.
struct FrameState {
    int frameWidth = 0;
    int frameHeight = 0;
    int marginX = 0;
    int marginY = 0;
    int hasMargin = 0;
    int viewWidth = 0;
    int viewHeight = 0;
    int viewMaxX = 0;
    int viewMaxY = 0;
    double viewScale = 0.0;
    double zoom = 0.0;
    std::uint32_t* pixels = nullptr;
    std::vector<int> rows;
};

FrameState fullState;
FrameState smallState;

FrameState saveLive() {
    return {frameWidth, frameHeight, marginX, marginY, hasMargin, viewWidth, viewHeight,
            viewMaxX,   viewMaxY,    viewScale, zoom,   pixels,    rowTable};
}

void loadLive(const FrameState& state) {
    frameWidth = state.frameWidth;
    frameHeight = state.frameHeight;
    marginX = state.marginX;
    marginY = state.marginY;
    hasMargin = state.hasMargin;
    viewWidth = state.viewWidth;
    viewHeight = state.viewHeight;
    viewMaxX = state.viewMaxX;
    viewMaxY = state.viewMaxY;
    viewScale = state.viewScale;
    zoom = state.zoom;
    pixels = state.pixels;
    rowTable = state.rows;  // reuses the table's memory: no allocation per frame
}

void makeSmallFrame() {
    fullState = saveLive();
    // The switch must not change the window's style, which setFrameSize would.
    const int keepFullScreen = fullScreen;
    setFrameSize(std::max(frameWidth / 2, 1), std::max(frameHeight / 2, 1));
    fullScreen = keepFullScreen;
    const std::size_t area = static_cast<std::size_t>(frameWidth) * static_cast<std::size_t>(frameHeight);
    smallPixels = static_cast<std::uint32_t*>(alloc16(area * sizeof(std::uint32_t), 0));
    pixels = smallPixels;
    smallState = saveLive();
    smallFrameReady = 1;
    smallFrameActive = 1;
}

// Each source pixel fills two target pixels; an odd target width repeats the last source pixel.
void doubleRow(std::uint32_t* target, int targetWidth, const std::uint32_t* source, int sourceWidth) {
    const int pairs = targetWidth / 2;
    for (int j = 0; j < pairs; ++j) target[2 * j] = target[2 * j + 1] = source[j];
    if (targetWidth % 2 != 0) target[targetWidth - 1] = source[sourceWidth - 1];
}

// Works in screen rows (top down), so that half-size pixel (x, y) always lands on full pixels
// (2x, 2y) to (2x + 1, 2y + 1); an odd target height repeats the bottom source row. The first row
// of a call is always doubled afresh: the row above it may belong to a call running beside it.
void doubleRows(std::uint32_t* target, int width, int height, const std::uint32_t* source, int sourceWidth,
                int sourceHeight, int firstRow, int lastRow) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(std::uint32_t);
    for (int y = firstRow; y <= lastRow; ++y) {
        const int sourceRow = std::min(y / 2, sourceHeight - 1);
        std::uint32_t* row = target + static_cast<std::size_t>(height - 1 - y) * width;
        if (y > firstRow && sourceRow == std::min((y - 1) / 2, sourceHeight - 1)) {
            std::memcpy(row, row + width, rowBytes);  // the row above on screen is the next one in memory
            continue;
        }
        const std::uint32_t* from = source + static_cast<std::size_t>(sourceHeight - 1 - sourceRow) * sourceWidth;
        doubleRow(row, width, from, sourceWidth);
    }
}

}  // namespace

void enterSmallFrame() {
    if (smallFrameWanted == 0) {
        leaveSmallFrame();
        return;
    }
    if (smallFrameActive != 0) return;
    if (smallFrameReady != 0) {
        loadLive(smallState);
        smallFrameActive = 1;
        return;
    }
    makeSmallFrame();
}

void expandSmallFrame() {
    if (smallFrameActive == 0) return;
    leaveSmallFrame();
    expandSmallFrameRows(0, frameHeight - 1);
}

void expandSmallFrameRows(int firstRow, int lastRow) {
    if (pixels == nullptr || smallPixels == nullptr) return;
    doubleRows(pixels, frameWidth, frameHeight, smallPixels, smallState.frameWidth, smallState.frameHeight, firstRow,
               lastRow);
}

void leaveSmallFrame() {
    if (smallFrameReady == 0 || smallFrameActive == 0) return;
    loadLive(fullState);
    smallFrameActive = 0;
}

void releaseSmallFrame() {
    leaveSmallFrame();
    freeAligned(smallPixels);
    smallPixels = nullptr;
    smallState.pixels = nullptr;
    smallFrameReady = 0;
    smallFrameActive = 0;
}

void resetSmallFrame() {
    releaseSmallFrame();
    smallFrameWanted = 0;
    fullState = {};
    smallState = {};
}

}  // namespace lw
