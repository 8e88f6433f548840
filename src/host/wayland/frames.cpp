// The frame and its way to the compositor. The worker draws each frame into a buffer the main
// thread lends it: the bands draw straight into it where nothing else needs the frame, or copy
// their rows into it. The worker then hands the buffer back, and the main thread shows it on
// every output. A buffer the compositor still holds is never drawn into: of the two, the worker
// takes the one the compositor has released, and only once a frame callback says that the
// compositor shows our frames and wants the next, so nothing is drawn for a surface nobody sees.
#include <algorithm>
#include <cstring>

#include "host/frame_scaling.h"
#include "host/wayland/wayland_host.h"

namespace lw::wayland {

namespace {

constexpr int kBuffersPerSize = 2;

Frames& frames() { return state().frames; }

std::uint32_t* bufferPixels(const Frames& f, int index) {
    return f.set.memory + static_cast<std::size_t>(index) * static_cast<std::size_t>(f.set.width) *
                              static_cast<std::size_t>(f.set.height);
}

WindowPixels bufferTarget(const Frames& f, int index) {
    return {bufferPixels(f, index), f.set.stride, f.set.width, f.set.height};
}

int freeBuffer(const Frames& f) {
    const auto it = std::find(f.owners.begin(), f.owners.end(), BufferOwner::Free);
    return it == f.owners.end() ? -1 : static_cast<int>(it - f.owners.begin());
}

bool buffersFitFrame(const Frames& f) { return f.set.width == f.surfaceWidth && f.set.height == f.surfaceHeight; }

// Worker, lock held: a buffer of the frame's size to draw into, once one is free and the
// compositor wants a frame; -1 when the window is closing or no buffer can be had.
int takeBuffer(std::unique_lock<std::mutex>& lock) {
    Frames& f = frames();
    if (!buffersFitFrame(f) && !f.closing) {
        f.wantedWidth = f.surfaceWidth;
        f.wantedHeight = f.surfaceHeight;
        wakeMainThread();
        f.changed.wait(lock, [&f] { return f.closing || f.makingFailed || buffersFitFrame(f); });
    }
    f.changed.wait(lock, [&f] { return f.closing || f.makingFailed || (f.wanted && freeBuffer(f) >= 0); });
    if (f.closing || f.makingFailed) return -1;
    const int index = freeBuffer(f);
    f.owners[index] = BufferOwner::Worker;
    f.wanted = false;
    f.lent = index;
    return index;
}

// Outside the rectangle the buffer must show what the last frame showed. It holds that only if
// it was the last one drawn; otherwise (it is a frame older, or new) that part comes from the
// buffer shown last, which the compositor may be reading but nobody writes.
void repairOutside(Frames& f, int index, const ScreenRect& drawn) {
    const bool whole = drawn == ScreenRect{0, 0, f.set.width, f.set.height};
    if (whole || f.front < 0 || f.front == index || f.holds[index] == f.holds[f.front]) return;
    const WindowPixels from = bufferTarget(f, f.front);
    const WindowPixels to = bufferTarget(f, index);
    for (int y = 0; y < to.height; ++y) {
        std::uint32_t* row = to.pixels + static_cast<std::ptrdiff_t>(y) * to.stride;
        const std::uint32_t* source = from.pixels + static_cast<std::ptrdiff_t>(y) * from.stride;
        if (y < drawn.y || y >= drawn.y + drawn.height) {
            std::memcpy(row, source, sizeof *row * static_cast<std::size_t>(to.width));
            continue;
        }
        std::memcpy(row, source, sizeof *row * static_cast<std::size_t>(drawn.x));
        const int right = drawn.x + drawn.width;
        std::memcpy(row + right, source + right, sizeof *row * static_cast<std::size_t>(to.width - right));
    }
}

// Worker, lock held: the lent buffer goes to the main thread to be shown.
void handOver(Frames& f, const ScreenRect& drawn) {
    const int index = f.lent;
    repairOutside(f, index, drawn);
    f.holds[index] = ++f.frameCount;
    f.owners[index] = BufferOwner::Handed;
    f.handed = index;
    f.lent = -1;
    wakeMainThread();
}

// The rectangle within the frame; empty when nothing of it lies there.
ScreenRect clipToFrame(const Frames& f, int x, int y, int w, int h) {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + w, f.surfaceWidth);
    const int bottom = std::min(y + h, f.surfaceHeight);
    return {left, top, right - left, bottom - top};
}

}  // namespace

void makeWantedBuffers() {
    Frames& f = frames();
    {
        std::lock_guard lock(f.mutex);
        if (f.wantedWidth <= 0 || (f.set.width == f.wantedWidth && f.set.height == f.wantedHeight)) return;
        // Asked only by a worker that holds no buffer; those the compositor holds may go, it
        // keeps its own mapping of them.
        f.makingFailed = !makeBufferSet(f.set, f.wantedWidth, f.wantedHeight, kBuffersPerSize);
        f.owners.assign(f.set.buffers.size(), BufferOwner::Free);
        f.holds.assign(f.set.buffers.size(), 0);
        f.front = f.lent = f.handed = -1;
        f.changed.notify_all();
    }
    if (f.makingFailed) {
        closeWindow();
        return;
    }
    for (const auto& output : state().display.outputs) {
        if (output->shown) output->shown->laidOut = false;
    }
    layOutSurfaces();
}

void showFirstBuffer() {
    Frames& f = frames();
    std::unique_lock lock(f.mutex);
    if (f.set.buffers.empty()) return;
    f.owners[0] = BufferOwner::Handed;
    f.handed = 0;
    f.holds[0] = ++f.frameCount;
    lock.unlock();
    showHandedBuffer();
}

void showHandedBuffer() {
    Frames& f = frames();
    std::unique_lock lock(f.mutex);
    const int index = f.handed;
    if (index < 0) return;
    f.handed = -1;
    wl_buffer* buffer = f.set.buffers[static_cast<std::size_t>(index)];
    // Only the main thread changes a Handed buffer's owner or remakes the buffers.
    lock.unlock();
    bool taken = false;
    showBuffer(buffer, taken);
    lock.lock();
    f.owners[static_cast<std::size_t>(index)] = taken ? BufferOwner::Compositor : BufferOwner::Free;
    f.front = index;
    f.changed.notify_all();
}

void onBufferReleased(wl_buffer* buffer) {
    Frames& f = frames();
    std::lock_guard lock(f.mutex);
    const auto it = std::find(f.set.buffers.begin(), f.set.buffers.end(), buffer);
    if (it == f.set.buffers.end()) return;
    BufferOwner& owner = f.owners[static_cast<std::size_t>(it - f.set.buffers.begin())];
    if (owner == BufferOwner::Compositor) owner = BufferOwner::Free;
    f.changed.notify_all();
}

void onFrameWanted() {
    Frames& f = frames();
    std::lock_guard lock(f.mutex);
    f.wanted = true;
    f.changed.notify_all();
}

void beginClosing() {
    {
        Frames& f = frames();
        std::lock_guard lock(f.mutex);
        f.closing = true;
        f.changed.notify_all();
    }
    wakeCloseWaiter();
    wakeSleepingWorker();
}

bool isClosing() {
    std::lock_guard lock(frames().mutex);
    return frames().closing;
}

namespace host {

std::uint32_t* createSurface(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    Frames& f = frames();
    std::lock_guard lock(f.mutex);
    f.surface.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    f.surfaceWidth = width;
    f.surfaceHeight = height;
    return f.surface.data();
}

void releaseSurface() {
    Frames& f = frames();
    std::lock_guard lock(f.mutex);
    f.surface.clear();
    f.surface.shrink_to_fit();
    f.surfaceWidth = f.surfaceHeight = 0;
    if (f.lent >= 0) f.owners[static_cast<std::size_t>(f.lent)] = BufferOwner::Free;
    f.lent = -1;
}

// The frame as drawn on the surface. Only the worker presents: the compositor keeps showing the
// last frame by itself, so the main thread has nothing to repaint.
void presentRect(int x, int y, int w, int h) {
    if (!onWorkerThread()) return;
    stopHereIfAsked();
    {
        Frames& f = frames();
        std::unique_lock lock(f.mutex);
        const ScreenRect drawn = clipToFrame(f, x, y, w, h);
        if (drawn.empty() || takeBuffer(lock) < 0) return;
        const FramePixels frame{f.surface.data(), f.surfaceWidth, f.surfaceHeight};
        copyFramePart(frame, drawn, bufferTarget(f, f.lent), 0, 0);
        handOver(f, drawn);
    }
    stopHereIfAsked();
}

// The bands put every row of the frame into the lent buffer, which nothing else reads.
platform::RowCopies copiesRows() {
    if (!onWorkerThread()) return platform::RowCopies::Off;
    Frames& f = frames();
    std::unique_lock lock(f.mutex);
    return takeBuffer(lock) < 0 ? platform::RowCopies::Off : platform::RowCopies::WindowOnly;
}

// From the band threads at once, each on its own rows of the buffer the worker took before
// they began, without the lock.
void copyRows(const std::uint32_t* rows, int x, int y, int w, int h) {
    const Frames& f = frames();
    if (f.lent < 0) return;
    const FramePixels band{rows, f.surfaceWidth, h};
    copyFramePart(band, {x, 0, w, h}, bufferTarget(f, f.lent), 0, y);
}

std::uint32_t* surfaceInWindow(int& stride) {
    const Frames& f = frames();
    stride = f.set.stride;
    return f.lent >= 0 ? bufferPixels(f, f.lent) : nullptr;
}

void presentCopied(int x, int y, int w, int h) {
    {
        Frames& f = frames();
        std::lock_guard lock(f.mutex);
        if (f.lent < 0) return;
        const ScreenRect drawn = clipToFrame(f, x, y, w, h);
        handOver(f, drawn.empty() ? ScreenRect{0, 0, f.set.width, f.set.height} : drawn);
    }
    stopHereIfAsked();
}

}  // namespace host

}  // namespace lw::wayland
