// The frame surface and its way to the screen. The worker draws into plain memory; presentRect
// hands a finished rectangle to the main thread, which owns the windows, and waits until it is
// copied onto their surfaces: no tearing, and the worker never draws into pixels that are being
// read. Each window's surface is its own memory that SDL hands to the X server (through shared
// memory where it can), so a frame costs one copy and no drawing through OpenGL, which machines
// without a GPU emulate in software.
//
// Where a window shows the frame as drawn, that one copy is made by the threads that draw the
// bands, each band's rows while they are still in its cache: after each frame it shows, the main
// thread names those surfaces, and until the next frame is presented it leaves them alone.
#include <algorithm>
#include <cstddef>

#include "host/frame_scaling.h"
#include "host/sdl/sdl_host.h"
#include "raster/frame_buffer.h"

namespace lw::sdl {

namespace {

Handover& shared() { return state().handover; }

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
        const Handover& handover = shared();
        const ScreenRect place =
            fitCentred(handover.surfaceWidth, handover.surfaceHeight, {0, 0, target->w, target->h});
        fillNew(target, place);
        // Without a frame its place, and so the bars, are not known yet.
        shown.stale = place.empty();
    }
    return target;
}

// With the lock held. A window of the frame's size gets the handed-over part as it is, unless
// the bands have put it there already; any other (another display, a resized borrowed window)
// the whole frame scaled to fit.
void drawFrameOn(FrameWindow& shown) {
    const Handover& handover = shared();
    const bool rowsThere = handover.rowsCopied && shown.takesBandRows && !shown.stale;
    SDL_Surface* const named = shown.surface;
    SDL_Surface* target = currentSurface(shown);
    if (target == nullptr || handover.surfaceWidth <= 0) return;
    if (rowsThere && target == named) return;
    // The bands drew the frame for the named surfaces only; a surface made since is left as
    // currentSurface filled it, and gets the next frame.
    if (!handover.surfaceDrawn) return;
    SDL_Surface* canvas = canvasFor(shown, target);
    if (canvas == nullptr) return;
    const FramePixels frame{handover.surface.data(), handover.surfaceWidth, handover.surfaceHeight};
    const ScreenRect place = fitCentred(frame.width, frame.height, {0, 0, target->w, target->h});
    const bool asDrawn = place.width == frame.width && place.height == frame.height;
    if (asDrawn) {
        copyFramePart(frame, handover.rect, pixelsOf(canvas), place.x, place.y);
    } else {
        scaleFrame(frame, pixelsOf(canvas), place);
    }
    if (canvas != target) {
        SDL_Rect rect{place.x, place.y, place.width, place.height};
        SDL_BlitSurface(canvas, &rect, target, &rect);
    }
}

// With the lock held, after the windows got a frame: the surfaces the next frame's bands may
// copy their rows onto.
void nameBandDestinations() {
    Handover& handover = shared();
    handover.bandDestinations.clear();
    bool allNamed = true;
    for (FrameWindow& shown : state().window.frameWindows) {
        shown.takesBandRows = false;
        SDL_Surface* target = shown.surface;
        const bool asItIs = target != nullptr && !shown.stale && takesFrameWords(*target->format);
        const ScreenRect place = asItIs ? fitCentred(handover.surfaceWidth, handover.surfaceHeight, {0, 0, target->w, target->h})
                                        : ScreenRect{};
        if (!asItIs || place.width != handover.surfaceWidth || place.height != handover.surfaceHeight) {
            allNamed = false;
            continue;
        }
        handover.bandDestinations.push_back({pixelsOf(target), place.x, place.y});
        shown.takesBandRows = true;
    }
    handover.windowsAllNamed = allNamed && !handover.bandDestinations.empty();
}

// With the lock held: the rectangle, clipped to the surface, waits for the main thread. False
// when nothing of it is left or the window is closing.
bool handOver(int x, int y, int w, int h, bool rowsCopied) {
    Handover& handover = shared();
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + w, handover.surfaceWidth);
    const int bottom = std::min(y + h, handover.surfaceHeight);
    if (handover.closing || left >= right || top >= bottom) return false;
    handover.rect = {left, top, right - left, bottom - top};
    handover.pending = true;
    handover.rowsCopied = rowsCopied;
    // A frame presented whole was drawn on the surface.
    if (!rowsCopied) handover.surfaceDrawn = true;
    return true;
}

// The X server reads the surfaces until SDL_UpdateWindowSurface returns (it waits for the
// server): the next frame's bands must not write into them meanwhile. The caller marked them as
// showing while it still held the lock, before the worker could go on to the next frame.
void showSurfaces() {
    for (const FrameWindow& shown : state().window.frameWindows) {
        if (shown.surface != nullptr) SDL_UpdateWindowSurface(shown.window);
    }
    Handover& handover = shared();
    std::lock_guard lock(handover.mutex);
    handover.showing = false;
    handover.handled.notify_all();
}

// The worker hands a rectangle over and waits until the main thread has taken it.
void handOverAndWait(int x, int y, int w, int h, bool rowsCopied) {
    if (!onWorkerThread()) {
        // The main thread cannot wait for itself: it copies at once.
        {
            std::lock_guard lock(shared().mutex);
            if (!handOver(x, y, w, h, rowsCopied)) return;
        }
        presentHandedOver();
        return;
    }
    stopHereIfAsked();
    {
        Handover& handover = shared();
        std::unique_lock lock(handover.mutex);
        if (!handOver(x, y, w, h, rowsCopied)) return;
        SDL_Event event{};
        event.type = state().events.present;
        if (SDL_PushEvent(&event) != 1) {
            handover.pending = false;
            return;
        }
        handover.handled.wait(lock, [&handover] { return !handover.pending || handover.closing; });
        // When closing, the main thread will not look at this frame any more.
        handover.pending = false;
    }
    stopHereIfAsked();
}

}  // namespace

void presentHandedOver() {
    {
        Handover& handover = shared();
        std::lock_guard lock(handover.mutex);
        // Bands still copying onto the surfaces: their frame's own handover follows.
        if (!handover.pending || handover.closing || handover.bandsCopying) return;
        for (FrameWindow& shown : state().window.frameWindows) drawFrameOn(shown);
        handover.rowsCopied = false;
        nameBandDestinations();
        // The frame has been copied: the worker may draw the next one while the windows show this.
        handover.pending = false;
        handover.showing = true;
        handover.handled.notify_all();
    }
    showSurfaces();
}

void repaint() {
    {
        // Only the windows' own pixels are shown again; the frame may be half drawn by now.
        std::lock_guard lock(shared().mutex);
        // The bands are copying onto the surfaces: the frame they finish is shown next anyway.
        if (shared().bandsCopying) return;
        for (FrameWindow& shown : state().window.frameWindows) currentSurface(shown);
        // A resized window has a new surface, filled; the bands keep to those of the frame's size.
        nameBandDestinations();
        shared().showing = true;
    }
    showSurfaces();
}

void beginClosing() {
    {
        Handover& handover = shared();
        std::lock_guard lock(handover.mutex);
        handover.closing = true;
        handover.handled.notify_all();
    }
    // A worker waiting for its close request to be handled sees that the window closes anyway.
    state().close.wake();
}

bool isClosing() {
    std::lock_guard lock(shared().mutex);
    return shared().closing;
}

namespace host {

std::uint32_t* createSurface(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    Handover& handover = shared();
    std::lock_guard lock(handover.mutex);
    handover.surface.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    handover.surfaceWidth = width;
    handover.surfaceHeight = height;
    // The windows were named for the old size: a whole frame goes first, then they are named anew.
    handover.bandDestinations.clear();
    return handover.surface.data();
}

void presentRect(int x, int y, int w, int h) { handOverAndWait(x, y, w, h, false); }

// The main thread shows frames whole: it cannot wait for its own showing to end.
platform::RowCopies copiesRows() {
    if (!onWorkerThread()) return platform::RowCopies::Off;
    Handover& handover = shared();
    std::unique_lock lock(handover.mutex);
    handover.handled.wait(lock, [&handover] { return !handover.showing || handover.closing; });
    handover.bandsCopying = !handover.closing && !handover.bandDestinations.empty();
    if (!handover.bandsCopying) return platform::RowCopies::Off;
    // Set for this frame while its bands cannot have begun yet: the main thread reads it at present.
    handover.surfaceDrawn = !handover.windowsAllNamed;
    handover.surfaceInWindow = nullptr;
    if (handover.windowsAllNamed && handover.bandDestinations.size() == 1) {
        const BandDestination& to = handover.bandDestinations.front();
        handover.surfaceInWindow = to.pixels.pixels + static_cast<std::ptrdiff_t>(to.originY) * to.pixels.stride + to.originX;
        handover.windowStride = to.pixels.stride;
    }
    return handover.windowsAllNamed ? platform::RowCopies::WindowOnly : platform::RowCopies::AlongsideSurface;
}

// Without the lock, from the band threads at once, each on its own rows: while bandsCopying the
// main thread changes neither the destinations nor their surfaces, and the frame changes size
// only on the worker, which is waiting for the bands.
void copyRows(const std::uint32_t* rows, int x, int y, int w, int h) {
    const Handover& handover = shared();
    const FramePixels band{rows, handover.surfaceWidth, h};
    for (const BandDestination& to : handover.bandDestinations) {
        copyFramePart(band, {x, 0, w, h}, to.pixels, to.originX, to.originY + y);
    }
}

// Asked by the worker right after copiesRows, which set the answer under the lock.
std::uint32_t* surfaceInWindow(int& stride) {
    const Handover& handover = shared();
    stride = handover.windowStride;
    return handover.surfaceInWindow;
}

void presentCopied(int x, int y, int w, int h) {
    {
        std::lock_guard lock(shared().mutex);
        shared().bandsCopying = false;
    }
    handOverAndWait(x, y, w, h, true);
}

void releaseSurface() {
    Handover& handover = shared();
    std::lock_guard lock(handover.mutex);
    handover.surface.clear();
    handover.surface.shrink_to_fit();
    handover.surfaceWidth = handover.surfaceHeight = 0;
    handover.bandDestinations.clear();
}

}  // namespace host

}  // namespace lw::sdl
