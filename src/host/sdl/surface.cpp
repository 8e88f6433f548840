// The frame surface and its way to the screen. The worker draws into plain memory; presentRect
// hands a finished rectangle to the main thread, which owns the windows, and waits until it is
// copied onto their surfaces: no tearing, and the worker never draws into pixels that are being
// read. Each window's surface is its own memory that SDL hands to the X server (through shared
// memory where it can), so a frame costs one copy and no drawing through OpenGL, which machines
// without a GPU emulate in software.
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "host/frame_scaling.h"
#include "host/sdl/sdl_host.h"
#include "raster/frame_buffer.h"

namespace lw::sdl {

namespace {

// Guards everything below; the condition wakes a worker waiting for its handover.
std::mutex mutex;
std::condition_variable handled;
std::vector<std::uint32_t> surface;  // bottom-up rows, as the engine draws them
int surfaceWidth = 0;
int surfaceHeight = 0;
bool handoverPending = false;
ScreenRect handover{};
bool closing = false;

// Pixels the frame's words can be copied into as they are: 32 bits, red, green, blue from the
// high byte down; the fourth byte is ignored.
bool takesFrameWords(const SDL_PixelFormat& format) {
    return format.BytesPerPixel == 4 && format.Rmask == 0xFF0000 && format.Gmask == 0xFF00 && format.Bmask == 0xFF;
}

// Where the frame is drawn for this window: its surface, or a staging surface SDL converts from.
SDL_Surface* canvasFor(FrameWindow& shown, SDL_Surface* target) {
    if (takesFrameWords(*target->format)) return target;
    if (shown.staging != nullptr && (shown.staging->w != target->w || shown.staging->h != target->h)) {
        SDL_FreeSurface(shown.staging);
        shown.staging = nullptr;
    }
    if (shown.staging == nullptr) {
        shown.staging = SDL_CreateRGBSurfaceWithFormat(0, target->w, target->h, 32, SDL_PIXELFORMAT_RGB888);
    }
    return shown.staging;
}

WindowPixels pixelsOf(SDL_Surface* canvas) {
    return {static_cast<std::uint32_t*>(canvas->pixels), canvas->pitch / 4, canvas->w, canvas->h};
}

// A new surface holds nothing yet: the frame's place black until the next frame arrives, the
// rest in the background colour. Before the first frame all of it is black.
void fillNew(SDL_Surface* target, const ScreenRect& place) {
    if (place.empty()) {
        SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
        return;
    }
    const Uint32 background =
        SDL_MapRGB(target->format, (backgroundColour >> 16) & 0xFF, (backgroundColour >> 8) & 0xFF, backgroundColour & 0xFF);
    for (const ScreenRect& bar : barsAround({0, 0, target->w, target->h}, place)) {
        const SDL_Rect rect{bar.x, bar.y, bar.width, bar.height};
        SDL_FillRect(target, &rect, background);
    }
    const SDL_Rect frameRect{place.x, place.y, place.width, place.height};
    SDL_FillRect(target, &frameRect, SDL_MapRGB(target->format, 0, 0, 0));
}

// The window's current surface; a new one (first use, or the window changed size) is filled.
SDL_Surface* currentSurface(FrameWindow& shown) {
    SDL_Surface* target = SDL_GetWindowSurface(shown.window);
    if (target == nullptr) return nullptr;
    if (target != shown.surface) shown.stale = true;
    shown.surface = target;
    if (shown.stale) {
        const ScreenRect place = fitCentred(surfaceWidth, surfaceHeight, {0, 0, target->w, target->h});
        fillNew(target, place);
        // Without a frame its place, and so the bars, are not known yet.
        shown.stale = place.empty();
    }
    return target;
}

// With the lock held. A window of the frame's size gets the handed-over part as it is; any
// other (another display, a resized borrowed window) the whole frame scaled to fit.
void drawFrameOn(FrameWindow& shown) {
    SDL_Surface* target = currentSurface(shown);
    if (target == nullptr || surfaceWidth <= 0) return;
    SDL_Surface* canvas = canvasFor(shown, target);
    if (canvas == nullptr) return;
    const FramePixels frame{surface.data(), surfaceWidth, surfaceHeight};
    const ScreenRect place = fitCentred(surfaceWidth, surfaceHeight, {0, 0, target->w, target->h});
    const bool asDrawn = place.width == surfaceWidth && place.height == surfaceHeight;
    if (asDrawn) {
        copyFramePart(frame, handover, pixelsOf(canvas), place.x, place.y);
    } else {
        scaleFrame(frame, pixelsOf(canvas), place);
    }
    if (canvas != target) {
        SDL_Rect rect{place.x, place.y, place.width, place.height};
        SDL_BlitSurface(canvas, &rect, target, &rect);
    }
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

void showSurfaces() {
    for (const FrameWindow& shown : frameWindows) {
        if (shown.surface != nullptr) SDL_UpdateWindowSurface(shown.window);
    }
}

}  // namespace

void presentHandedOver() {
    {
        std::lock_guard lock(mutex);
        if (!handoverPending || closing) return;
        for (FrameWindow& shown : frameWindows) drawFrameOn(shown);
        // The frame has been copied: the worker may draw the next one while the windows show this.
        handoverPending = false;
        handled.notify_all();
    }
    showSurfaces();
}

void repaint() {
    {
        // Only the windows' own pixels are shown again; the frame may be half drawn by now.
        std::lock_guard lock(mutex);
        for (FrameWindow& shown : frameWindows) currentSurface(shown);
    }
    showSurfaces();
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
