// The frame and its way to the compositor. The worker draws each frame into buffers the main
// thread lends it, one for each output's surface: with one output the bands draw straight into
// its buffer, with several they copy their rows into each. The worker then hands the buffers
// back, and the main thread shows them. A buffer the compositor still holds is never drawn into:
// of each surface's two, the worker takes the one the compositor has released, and only once a
// frame callback says that the compositor shows our frames and wants the next, so nothing is
// drawn while no surface is seen.
#include <algorithm>

#include "host/frame_scaling.h"
#include "host/wayland/wayland_host.h"

namespace lw::wayland {

namespace {

Frames& frames() { return state().frames; }

WindowPixels bufferTarget(const Lane& lane, int index) {
    const BufferSet& set = lane.set;
    const std::size_t offset = static_cast<std::size_t>(index) * static_cast<std::size_t>(set.stride) *
                               static_cast<std::size_t>(set.height);
    return {set.memory + offset, set.stride, set.width, set.height};
}

int freeBuffer(const Lane& lane) {
    const auto it = std::find(lane.owners.begin(), lane.owners.end(), BufferOwner::Free);
    return it == lane.owners.end() ? -1 : static_cast<int>(it - lane.owners.begin());
}

bool usable(const Frames& f, const Lane& lane) {
    return !lane.retired && lane.set.width == f.surfaceWidth && lane.set.height == f.surfaceHeight &&
           freeBuffer(lane) >= 0;
}

bool anyUsable(const Frames& f) {
    return std::any_of(f.lanes.begin(), f.lanes.end(), [&f](const auto& lane) { return usable(f, *lane); });
}

// Worker, lock held: the frame's size is what every lane's buffers must take.
void askForFrameSize(Frames& f) {
    if (f.wantedWidth == f.surfaceWidth && f.wantedHeight == f.surfaceHeight) return;
    f.wantedWidth = f.surfaceWidth;
    f.wantedHeight = f.surfaceHeight;
    wakeMainThread();
}

// Worker, lock held: a free buffer of every lane that has one, once the compositor wants a frame.
// False when the window is closing.
bool takeBuffers(std::unique_lock<std::mutex>& lock) {
    Frames& f = frames();
    askForFrameSize(f);
    f.changed.wait(lock, [&f] { return f.closing || (f.wanted && anyUsable(f)); });
    if (f.closing) return false;
    f.drawing.clear();
    for (const auto& lane : f.lanes) {
        if (!usable(f, *lane)) continue;
        lane->lent = freeBuffer(*lane);
        lane->owners[static_cast<std::size_t>(lane->lent)] = BufferOwner::Worker;
        f.drawing.push_back(bufferTarget(*lane, lane->lent));
    }
    f.wanted = false;
    return true;
}

// Outside the rectangle a buffer must show what the last frame showed. It holds that only if it
// was the last one drawn; otherwise (it is a frame older, or new) that part comes from the buffer
// shown last, which the compositor may be reading but nobody writes.
void repairOutside(Lane& lane, const ScreenRect& drawn) {
    const int index = lane.lent;
    const bool whole = drawn == ScreenRect{0, 0, lane.set.width, lane.set.height};
    if (whole || lane.front < 0 || lane.front == index || lane.holds[index] == lane.holds[lane.front]) return;
    copyOutside(bufferTarget(lane, lane.front), bufferTarget(lane, index), drawn);
}

// Worker, lock held: the lent buffers go to the main thread to be shown.
void handOver(Frames& f, const ScreenRect& drawn) {
    ++f.frameCount;
    for (const auto& lane : f.lanes) {
        if (lane->lent < 0) continue;
        repairOutside(*lane, drawn);
        const auto index = static_cast<std::size_t>(lane->lent);
        lane->holds[index] = f.frameCount;
        lane->owners[index] = BufferOwner::Handed;
        lane->handed = lane->lent;
        lane->lent = -1;
    }
    f.drawing.clear();
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
    // A worker waiting for its close request to be handled sees that the window closes anyway.
    state().close.wake();
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
    askForFrameSize(f);
    return f.surface.data();
}

void releaseSurface() {
    Frames& f = frames();
    std::lock_guard lock(f.mutex);
    f.surface.clear();
    f.surface.shrink_to_fit();
    f.surfaceWidth = f.surfaceHeight = 0;
    for (const auto& lane : f.lanes) {
        if (lane->lent >= 0) lane->owners[static_cast<std::size_t>(lane->lent)] = BufferOwner::Free;
        lane->lent = -1;
    }
    f.drawing.clear();
    f.changed.notify_all();
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
        if (drawn.empty() || !takeBuffers(lock)) return;
        const FramePixels frame{f.surface.data(), f.surfaceWidth, f.surfaceHeight};
        for (const WindowPixels& target : f.drawing) copyFramePart(frame, drawn, target, 0, 0);
        handOver(f, drawn);
    }
    stopHereIfAsked();
}

// The bands put every row of the frame into the lent buffers, which nothing else reads.
platform::RowCopies copiesRows() {
    if (!onWorkerThread()) return platform::RowCopies::Off;
    Frames& f = frames();
    std::unique_lock lock(f.mutex);
    return takeBuffers(lock) ? platform::RowCopies::WindowOnly : platform::RowCopies::Off;
}

// From the band threads at once, each on its own rows of the buffers the worker took before they
// began; without the lock, since until the frame is handed over nothing else touches them.
void copyRows(const std::uint32_t* rows, int x, int y, int w, int h) {
    const Frames& f = frames();
    const FramePixels band{rows, f.surfaceWidth, h};
    for (const WindowPixels& target : f.drawing) copyFramePart(band, {x, 0, w, h}, target, 0, y);
}

std::uint32_t* surfaceInWindow(int& stride) {
    const Frames& f = frames();
    if (f.drawing.size() != 1) return nullptr;
    stride = f.drawing.front().stride;
    return f.drawing.front().pixels;
}

void presentCopied(int x, int y, int w, int h) {
    {
        Frames& f = frames();
        std::lock_guard lock(f.mutex);
        if (f.drawing.empty()) return;
        handOver(f, clipToFrame(f, x, y, w, h));
    }
    stopHereIfAsked();
}

}  // namespace host

}  // namespace lw::wayland
