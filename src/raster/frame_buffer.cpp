#include "raster/frame_buffer.h"

#include <algorithm>
#include <cstddef>
#include <atomic>
#include <climits>
#include <cstring>

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

#include "raster/depth_buffer.h"
#include "raster/small_frame.h"

namespace lw {

namespace {
constexpr int kDefaultWidth = 240;
constexpr int kDefaultHeight = 180;
constexpr Colour kDefaultColour = 0xFF000000;
constexpr int kMinViewSize = 16;
constexpr double kReferenceRows = 600.0;

void noOverlay() {}

// The string store writes whole cache lines without reading them first, as memset does: a band's
// rows were last in memory, and a loop of stores would fetch each line only to overwrite it
// (at 1280 x 720 it clears in about half the time). Elsewhere 16 bytes at a time: a compiler at
// -O2 leaves a plain 32-bit fill loop unvectorized, and for WebAssembly clang made the copies of
// the block four 4-byte stores each (the page's clears took a third longer than with 16-byte ones).
void fillWords(std::uint32_t* target, std::size_t count, Colour colour) {
#if defined(__GNUC__) && defined(__x86_64__)
    asm volatile("rep stosl" : "+D"(target), "+c"(count) : "a"(colour) : "memory");
#elif defined(__wasm_simd128__)
    const v128_t block = wasm_i32x4_splat(static_cast<std::int32_t>(colour));
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) wasm_v128_store(target + i, block);
    for (; i < count; ++i) target[i] = colour;
#else
    const std::uint32_t block[4] = {colour, colour, colour, colour};
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) std::memcpy(target + i, block, sizeof block);
    for (; i < count; ++i) target[i] = colour;
#endif
}

// The surface the host made for us. Its size is read by the window's repaint on the main thread,
// hence atomic; 0 while there is none.
std::uint32_t* surface = nullptr;
std::atomic<int> surfaceWidth{0};
std::atomic<int> surfaceHeight{0};

std::size_t frameArea() { return static_cast<std::size_t>(frameWidth) * static_cast<std::size_t>(frameHeight); }

void releaseSurface() {
    if (surface != nullptr) windowSurface.release();
    surface = nullptr;
    surfaceWidth.store(0, std::memory_order_relaxed);
    surfaceHeight.store(0, std::memory_order_relaxed);
    pixels = nullptr;
}

void rebuildRowTable() {
    rowTable.resize(static_cast<std::size_t>(viewHeight));
    for (int i = 0; i < viewHeight; ++i) rowTable[i] = frameWidth * (frameHeight - marginY - 1 - i) + marginX;
}

void createSurface() {
    surface = windowSurface.create(frameWidth, frameHeight);
    pixels = surface;
    if (surface == nullptr) return;
    surfaceWidth.store(frameWidth, std::memory_order_relaxed);
    surfaceHeight.store(frameHeight, std::memory_order_relaxed);
    fillPixels(surface, frameArea(), backgroundColour);
}
}  // namespace

int frameWidth = kDefaultWidth;
int frameHeight = kDefaultHeight;
int fullScreen = 0;
Colour borderColour = kDefaultColour;
Colour backgroundColour = kDefaultColour;

std::uint32_t* pixels = nullptr;
int marginX = 0;
int marginY = 0;
int hasMargin = 0;
int viewWidth = kDefaultWidth;
int viewHeight = kDefaultHeight;
int viewMaxX = kDefaultWidth - 1;
int viewMaxY = kDefaultHeight - 1;
std::vector<int> rowTable;
double viewScale = kDefaultHeight / kReferenceRows;
double zoom = 1.0;
int fullClearPending = 1;
Hook overlayHook = noOverlay;

void setFrameSize(int width, int height) {
    if (width == kScreenSize) {
        width = windowSurface.screenWidth();
        height = windowSurface.screenHeight();
        fullScreen = 1;
    } else {
        fullScreen = 0;
    }
    // Every pixel and depth index, and every byte size of those arrays, must fit an int.
    if (width < 1 || height < 1 || static_cast<long long>(width) * height > INT_MAX / 4) {
        fatalError(L"Frame size out of range");
    }
    frameWidth = width;
    frameHeight = height;
    setViewport(0, -1);
}

void setViewport(int mx, int my) {
    if (my == -1) my = mx;
    // A frame narrower than 16 pixels would make the limit negative and the viewport wider than
    // the frame; negative margins would do the same.
    mx = std::clamp(mx, 0, std::max(0, (frameWidth - kMinViewSize) / 2));
    my = std::clamp(my, 0, std::max(0, (frameHeight - kMinViewSize) / 2));
    hasMargin = mx | my;
    marginX = mx;
    marginY = my;
    viewWidth = frameWidth - 2 * mx;
    viewHeight = frameHeight - 2 * my;
    viewMaxX = viewWidth - 1;
    viewMaxY = viewHeight - 1;
    fullClearPending = 1;
    rebuildRowTable();
    viewScale = viewHeight * zoom * (1.0 / kReferenceRows);
}

void fillPixels(std::uint32_t* target, std::size_t count, Colour colour) {
    const Colour blue = colour & 0xFFu;
    if (((colour >> 8) & 0xFFu) == blue && ((colour >> 16) & 0xFFu) == blue) {
        std::memset(target, static_cast<int>(blue), count * sizeof(std::uint32_t));
    } else {
        fillWords(target, count, colour);
    }
}

void createFrameBuffers() {
    releaseFrameBuffers();
    createDepthBuffer();
    createSurface();
    rebuildRowTable();
}

void releaseFrameBuffers() {
    // The half-size frame goes first: leaving it puts the full frame's values back.
    releaseSmallFrame();
    releaseDepthBuffer();
    releaseSurface();
}

void clearPendingBorder() {
    if (fullClearPending == 0) return;
    if (pixels != nullptr) fillPixels(pixels, frameArea(), borderColour);
    if (surface != nullptr) windowSurface.present(0, 0, frameWidth, frameHeight);
    fullClearPending = 0;
}

void clearTargetRows(const DrawTarget& t) {
    const std::size_t width = static_cast<std::size_t>(t.right - t.left + 1);
    // Rows that lie end to end, upwards (the frame) or downwards (a window), go in one fill: each
    // fill has a start-up cost that 720 rows of a frame would pay 720 times.
    if (t.top < t.bottom) {
        const auto rowCount = static_cast<std::size_t>(t.bottom - t.top + 1);
        const std::ptrdiff_t step = t.rows[t.top + 1] - t.rows[t.top];
        const auto span = static_cast<std::ptrdiff_t>(width);
        if ((step == span || step == -span) && t.rows[t.bottom] - t.rows[t.top] == step * static_cast<std::ptrdiff_t>(rowCount - 1)) {
            fillPixels(t.pixels + std::min(t.rows[t.top], t.rows[t.bottom]) + t.left, width * rowCount, t.background);
            return;
        }
    }
    for (int y = t.top; y <= t.bottom; ++y) fillPixels(t.pixels + t.rows[y] + t.left, width, t.background);
}

DrawTarget viewTarget() {
    return {pixels, depthBuffer, rowTable.data(), 0, 0, viewMaxX, viewMaxY, backgroundColour};
}

int presentFrame() {
    if (surface != nullptr) windowSurface.present(marginX, marginY, frameWidth - 2 * marginX, frameHeight - 2 * marginY);
    return 1;
}

platform::RowCopies windowRowCopies() {
    return surface != nullptr ? windowSurface.copiesRows() : platform::RowCopies::Off;
}

namespace {

// band: full-frame rows first..last as the surface lays them out, row last first.
void copyFrameRowsToWindow(const Colour* band, int first, int last) {
    windowSurface.copyRows(band, marginX, first, frameWidth - 2 * marginX, last - first + 1);
}

}  // namespace

void copyRowsToWindow(int first, int last) {
    first = std::max(first, marginY);
    last = std::min(last, frameHeight - 1 - marginY);
    if (first > last) return;
    copyFrameRowsToWindow(surface + static_cast<std::size_t>(frameHeight - 1 - last) * static_cast<std::size_t>(frameWidth),
                          first, last);
}

Colour* frameInWindow(int& stride) { return surface != nullptr ? windowSurface.surfaceInWindow(stride) : nullptr; }

void copyBandToWindow(const Colour* band, int first, int last) {
    copyFrameRowsToWindow(band, first + marginY, last + marginY);
}

int presentCopiedFrame() {
    if (surface != nullptr) windowSurface.presentCopied(marginX, marginY, frameWidth - 2 * marginX, frameHeight - 2 * marginY);
    return 1;
}

void presentWhole() {
    const int width = surfaceWidth.load(std::memory_order_relaxed);
    const int height = surfaceHeight.load(std::memory_order_relaxed);
    if (width > 0 && height > 0) windowSurface.present(0, 0, width, height);
}

std::uint32_t* surfaceBits() { return surface; }

void resetFrameBuffer() {
    releaseFrameBuffers();
    frameWidth = kDefaultWidth;
    frameHeight = kDefaultHeight;
    fullScreen = 0;
    borderColour = kDefaultColour;
    backgroundColour = kDefaultColour;
    marginX = marginY = hasMargin = 0;
    viewWidth = kDefaultWidth;
    viewHeight = kDefaultHeight;
    viewMaxX = kDefaultWidth - 1;
    viewMaxY = kDefaultHeight - 1;
    rowTable.clear();
    viewScale = kDefaultHeight / kReferenceRows;
    zoom = 1.0;
    fullClearPending = 1;
    overlayHook = noOverlay;
}

}  // namespace lw
