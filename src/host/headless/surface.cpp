#include <algorithm>

#include "host/frame_scaling.h"
#include "host/headless/state.h"
#include "host/headless/host.h"

namespace lw::headless::host {

using detail::state;

std::uint32_t* createSurface(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto& host = state();
    std::lock_guard lock(host.mutex);
    host.surface.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    host.surfaceWidth = width;
    host.surfaceHeight = height;
    host.window.assign(static_cast<std::size_t>(host.screenWidth) * static_cast<std::size_t>(host.screenHeight), 0);
    return host.surface.data();
}

namespace {

// The copy keeps window coordinates = surface ones; what lies outside the window is left out.
// The caller either holds the lock or copies rows that nothing else touches meanwhile.
void copyToWindow(detail::HostState& host, int x, int y, int w, int h) {
    const FramePixels frame{host.surface.data(), host.surfaceWidth, host.surfaceHeight};
    const WindowPixels window{host.window.data(), host.screenWidth, host.screenWidth, host.screenHeight};
    copyFramePart(frame, {x, y, w, h}, window, 0, 0);
}

void countPresent(detail::HostState& host) {
    host.presents += 1;
    host.presentedSinceSleep = true;
}

}  // namespace

void presentRect(int x, int y, int w, int h) {
    auto& host = state();
    std::lock_guard lock(host.mutex);
    countPresent(host);
    copyToWindow(host, x, y, w, h);
}

platform::RowCopies copiesRows() {
    return state().windowOnly.load(std::memory_order_relaxed) ? platform::RowCopies::WindowOnly
                                                               : platform::RowCopies::AlongsideSurface;
}

// Without the lock: the surface and the window change size only on the worker, which is drawing
// this frame, and the rows are this band's alone. Two bands copying at once would otherwise take
// turns.
void copyRows(const std::uint32_t* rows, int x, int y, int w, int h) {
    auto& host = state();
    const FramePixels band{rows, host.surfaceWidth, h};
    const WindowPixels window{host.window.data(), host.screenWidth, host.screenWidth, host.screenHeight};
    copyFramePart(band, {x, 0, w, h}, window, 0, y);
}

std::uint32_t* surfaceInWindow(int& stride) {
    auto& host = state();
    if (!host.windowOnly.load(std::memory_order_relaxed) || !host.drawInWindow.load(std::memory_order_relaxed)) return nullptr;
    if (host.surfaceWidth > host.screenWidth || host.surfaceHeight > host.screenHeight || host.window.empty()) return nullptr;
    stride = host.screenWidth;
    return host.window.data();
}

void presentCopied(int, int, int, int) {
    auto& host = state();
    std::lock_guard lock(host.mutex);
    countPresent(host);
}

void releaseSurface() {
    auto& host = state();
    std::lock_guard lock(host.mutex);
    host.surface.clear();
    host.surface.shrink_to_fit();
    host.surfaceWidth = host.surfaceHeight = 0;
}

}  // namespace lw::headless::host

namespace lw::headless {

std::span<const std::uint32_t> surfacePixels() { return detail::state().surface; }
std::span<const std::uint32_t> windowPixels() { return detail::state().window; }
int surfaceWidth() { return detail::state().surfaceWidth; }
void setWindowOnly(bool windowOnly, bool drawInWindow) {
    detail::state().windowOnly.store(windowOnly, std::memory_order_relaxed);
    detail::state().drawInWindow.store(drawInWindow, std::memory_order_relaxed);
}
int surfaceHeight() { return detail::state().surfaceHeight; }
void setFrameListener(FrameListener listener) {
    std::lock_guard lock(detail::state().mutex);
    detail::state().frameListener = listener;
}

int presentCount() {
    std::lock_guard lock(detail::state().mutex);
    return detail::state().presents;
}

}  // namespace lw::headless
