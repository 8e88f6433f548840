// The SDL host's state, one struct for all its files. The windows belong to the main thread; the
// worker meets it only in the handover, the close handshake and its own end, each guarded by its
// own mutex, and in the few flags that stay atomic.
#pragma once

#include <SDL.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "host/frame_scaling.h"
#include "host/host_state.h"
#include "host/linux/worker_thread.h"
#include "host/monitor_layout.h"

namespace lw::sdl {

// A window that shows the frame: one per display that shows it, the primary display's first, or
// the one borrowed window of a hack.
struct FrameWindow {
    SDL_Window* window = nullptr;
    bool borrowed = false;
    // Where the window lies on the desktop that spans all of them: mouse positions are given
    // in that desktop's coordinates, so moving between windows is one smooth move.
    SDL_Point desktopOffset{0, 0};
    // Its surface is new (first use, resize): it is filled before the frame goes on it.
    bool stale = true;
    SDL_Surface* surface = nullptr;  // the last one SDL gave, to notice a new one
    // Only for a surface whose pixels are not 32-bit XRGB: the frame is drawn here and
    // converted by SDL on the way.
    SDL_Surface* staging = nullptr;
    // The frame's bands may copy their rows straight onto `surface`: it takes the frame's words
    // at the frame's size, and nothing has been filled over the last frame on it since.
    bool takesBandRows = false;
};

// Where the bands put their rows on one window's surface: the frame's top left lies at origin.
struct BandDestination {
    WindowPixels pixels;
    int originX = 0;
    int originY = 0;
};

// Main thread; set before the worker starts and only read by it afterwards.
struct WindowState {
    // The primary display's window (or the borrowed one): it owns the message boxes.
    SDL_Window* hostWindow = nullptr;
    int previewMode = 0;  // 1: painting the still preview into another program's window
    bool hackMode = false;  // drawing into a window XScreenSaver (or the root) owns
    // The size the frame takes as "the screen's": the display's, or the borrowed window's.
    int screenWidth = 0;
    int screenHeight = 0;
    // A window another program made: XScreenSaver's, the root, or a preview host's.
    unsigned long borrowedWindow = 0;
    std::vector<FrameWindow> frameWindows;
};

// Event types of our own, registered once SDL runs: a timer ticked (code: the timer id), the
// worker handed over a frame, the worker asks the window to close.
struct EventTypes {
    Uint32 timer = 0;
    Uint32 present = 0;
    Uint32 close = 0;
};

// The frame the worker draws and the part of it waiting for the main thread.
struct Handover {
    std::mutex mutex;  // guards everything here
    std::condition_variable handled;  // wakes a worker waiting for its handover
    std::vector<std::uint32_t> surface;  // bottom-up rows, as the engine draws them
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    bool pending = false;
    ScreenRect rect{};
    bool closing = false;
    // The bands copy their rows onto these surfaces themselves, set by the main thread after each
    // frame it shows. While bandsCopying the main thread leaves those surfaces alone; while
    // showing the X server reads them, and the next frame's bands wait.
    std::vector<BandDestination> bandDestinations;
    bool bandsCopying = false;
    bool showing = false;
    bool rowsCopied = false;  // the pending rectangle is on the band destinations already
    // Every window was named a destination when the frame began: nothing reads the frame surface,
    // and the bands may leave it unwritten (then surfaceDrawn is false until the next frame).
    bool windowsAllNamed = false;
    bool surfaceDrawn = true;
    // The one destination's pixel under the surface's top-left, when the frame's bands may draw
    // straight into it; null otherwise.
    std::uint32_t* surfaceInWindow = nullptr;
    int windowStride = 0;
};

struct Timers {
    std::mutex mutex;
    std::map<int, SDL_TimerID> ids;
};

// The borrowed window the X error handler looks out for; the handler runs on whichever thread
// made the failed request.
struct WatchedWindow {
    std::atomic<unsigned long> window{0};
    std::atomic<bool> gone{false};
};

struct HostState {
    WindowState window;
    EventTypes events;
    Handover handover;
    Timers timers;
    linuxhost::CloseRequest close;
    linuxhost::WorkerThread worker;
    WatchedWindow watched;
};

inline HostState& state() { return hostState<HostState>(); }
// Puts the start values back; before SDL starts.
inline void resetState() { remakeHostState<HostState>(); }

}  // namespace lw::sdl
