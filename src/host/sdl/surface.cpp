// The frame surface and its way to the screen. The worker draws into plain memory; presentRect
// hands a finished rectangle to the main thread, which owns the renderer, and waits until it is
// copied into the streaming texture and shown: no tearing, and the worker never draws into
// pixels that are being read.
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "host/sdl/sdl_host.h"

namespace lw::sdl {

namespace {

// Guards everything below; the condition wakes a worker waiting for its handover.
std::mutex mutex;
std::condition_variable handled;
std::vector<std::uint32_t> surface;  // bottom-up rows, as the engine draws them
int surfaceWidth = 0;
int surfaceHeight = 0;
bool handoverPending = false;
SDL_Rect handover{};
bool closing = false;

// Main thread only.
SDL_Texture* texture = nullptr;
int textureWidth = 0;
int textureHeight = 0;

bool ensureTexture(int width, int height) {
    if (texture != nullptr && textureWidth == width && textureHeight == height) return true;
    releaseTexture();
    // The fourth byte of a frame pixel means nothing: a format without alpha ignores it.
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (texture == nullptr) return false;
    textureWidth = width;
    textureHeight = height;
    return true;
}

// Flips the rows on the way: the surface is bottom-up, the texture top-down.
void copyToTexture(const SDL_Rect& rect) {
    void* target = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, &rect, &target, &pitch) != 0) return;
    for (int row = 0; row < rect.h; ++row) {
        const std::size_t sourceRow = static_cast<std::size_t>(surfaceHeight - 1 - (rect.y + row));
        const std::uint32_t* from = surface.data() + sourceRow * surfaceWidth + rect.x;
        auto* to = static_cast<std::uint8_t*>(target) + static_cast<std::size_t>(row) * pitch;
        std::copy_n(from, rect.w, reinterpret_cast<std::uint32_t*>(to));
    }
    SDL_UnlockTexture(texture);
}

// With the lock held: the rectangle, clipped to the surface, waits for the main thread. False
// when nothing of it is left or the window is closing.
bool handOver(int x, int y, int w, int h) {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + w, surfaceWidth);
    const int bottom = std::min(y + h, surfaceHeight);
    if (closing || left >= right || top >= bottom) return false;
    handover = {left, top, right - left, bottom - top};
    handoverPending = true;
    return true;
}

void show() {
    if (texture != nullptr) {
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    } else {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
    SDL_RenderPresent(renderer);
}

}  // namespace

void presentHandedOver() {
    {
        std::lock_guard lock(mutex);
        if (!handoverPending || closing) return;
        if (renderer != nullptr && ensureTexture(surfaceWidth, surfaceHeight)) copyToTexture(handover);
    }
    if (renderer != nullptr) show();
    std::lock_guard lock(mutex);
    handoverPending = false;
    handled.notify_all();
}

void repaint() {
    if (renderer != nullptr) show();
}

void beginClosing() {
    {
        std::lock_guard lock(mutex);
        closing = true;
        handled.notify_all();
    }
    wakeCloseWaiter();
    wakeSleepingWorker();
}

bool isClosing() {
    std::lock_guard lock(mutex);
    return closing;
}

void releaseTexture() {
    if (texture != nullptr) SDL_DestroyTexture(texture);
    texture = nullptr;
    textureWidth = textureHeight = 0;
}

namespace host {

std::uint32_t* createSurface(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    std::lock_guard lock(mutex);
    surface.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    surfaceWidth = width;
    surfaceHeight = height;
    return surface.data();
}

void presentRect(int x, int y, int w, int h) {
    if (!onWorkerThread()) {
        // The main thread cannot wait for itself: it copies at once.
        {
            std::lock_guard lock(mutex);
            if (!handOver(x, y, w, h)) return;
        }
        presentHandedOver();
        return;
    }
    stopHereIfAsked();
    {
        std::unique_lock lock(mutex);
        if (!handOver(x, y, w, h)) return;
        SDL_Event event{};
        event.type = presentEventType;
        if (SDL_PushEvent(&event) != 1) {
            handoverPending = false;
            return;
        }
        handled.wait(lock, [] { return !handoverPending || closing; });
        // When closing, the main thread will not look at this frame any more.
        handoverPending = false;
    }
    stopHereIfAsked();
}

void releaseSurface() {
    std::lock_guard lock(mutex);
    surface.clear();
    surface.shrink_to_fit();
    surfaceWidth = surfaceHeight = 0;
}

}  // namespace host

}  // namespace lw::sdl
