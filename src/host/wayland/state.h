// The Wayland host's state, one struct for all its files. Everything of the protocol belongs to
// the main thread; the worker meets it only in Frames (the buffers it is lent and hands back),
// the close handshake, the timers and its own end, each guarded by its own mutex.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "host/frame_scaling.h"
#include "host/host_state.h"
#include "host/linux/worker_thread.h"

struct wl_buffer;
struct wl_callback;
struct wl_compositor;
struct wl_display;
struct wl_keyboard;
struct wl_output;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_subcompositor;
struct wl_subsurface;
struct wl_surface;
struct wp_fractional_scale_manager_v1;
struct wp_fractional_scale_v1;
struct wp_viewport;
struct wp_viewporter;
struct xdg_surface;
struct xdg_toplevel;
struct xdg_wm_base;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace lw::wayland {

struct Globals {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_subcompositor* subcompositor = nullptr;
    wl_shm* shm = nullptr;
    xdg_wm_base* wmBase = nullptr;
    wp_viewporter* viewporter = nullptr;
    wp_fractional_scale_manager_v1* fractionalScale = nullptr;
};

// One shared-memory pool and the buffers made in it, all of one size.
struct BufferSet {
    int width = 0;
    int height = 0;
    int stride = 0;  // pixels from one row to the next
    std::uint32_t* memory = nullptr;
    std::size_t bytes = 0;
    std::vector<wl_buffer*> buffers;
};

// A full-screen surface on one output. Where the frame fills the output it shows the frame
// itself; elsewhere it shows the background colour, and a subsurface the frame scaled to fit.
struct OutputSurface {
    wl_surface* surface = nullptr;
    xdg_surface* shellSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wp_viewport* viewport = nullptr;
    wp_fractional_scale_v1* fractional = nullptr;
    wl_surface* frameSurface = nullptr;  // surface itself, or the subsurface's
    wl_subsurface* subsurface = nullptr;
    wp_viewport* frameViewport = nullptr;
    wl_callback* frameCallback = nullptr;
    // Size in the compositor's logical units, from the latest configure; 0 until then.
    int logicalWidth = 0;
    int logicalHeight = 0;
    int pendingWidth = 0;  // told by the toplevel, taken at the configure that follows
    int pendingHeight = 0;
    std::uint32_t preferredScale120 = 0;  // wp_fractional_scale_v1, 0 until told
    bool configured = false;
    bool laidOut = false;  // the layout matches the latest configure
    bool titled = false;
    // Where the frame lies on the surface, in logical units.
    int frameX = 0;
    int frameY = 0;
    int frameLogicalWidth = 0;
    int frameLogicalHeight = 0;
};

struct Output {
    std::uint32_t name = 0;  // the registry's
    wl_output* output = nullptr;
    int modeWidth = 0;  // the current mode, in the output's own pixels, before the transform
    int modeHeight = 0;
    int transform = 0;
    int scale = 1;
    std::uint32_t version = 1;  // of the bound wl_output
    std::unique_ptr<OutputSurface> shown;
};

struct Seat {
    std::uint32_t name = 0;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
};

// The keyboard's keymap and state; null until the compositor sends a keymap it can read.
struct Keyboard {
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* state = nullptr;
    // Key repeat as the compositor asks; the key that repeats (evdev code + 8) and when next.
    int repeatRate = 0;  // per second; 0 means no repeat
    int repeatDelayMs = 600;
    std::uint32_t repeatingKey = 0;
    std::uint32_t nextRepeatMs = 0;
};

struct Pointer {
    std::uint32_t enterSerial = 0;
    wl_surface* over = nullptr;  // the surface under the pointer
    unsigned heldButtons = 0;  // SDL's button mask
    double wheelRest = 0;  // scroll that has not made a whole step yet
    bool discreteInFrame = false;
};

// Main thread: the connection and what it shows.
struct Display {
    Globals globals;
    // In the order the compositor announced them; each stays where it is, for its listeners.
    std::vector<std::unique_ptr<Output>> outputs;
    std::uint32_t primaryName = 0;  // the output whose pixels the frame has
    std::vector<Seat> seats;
    Keyboard keyboard;
    Pointer pointer;
    BufferSet background;  // one pixel of the background colour, scaled up where bars show
    bool cursorHidden = false;
    int screenWidth = 0;
    int screenHeight = 0;
    int layoutWidth = 0;  // the frame size the surfaces were laid out for
    int layoutHeight = 0;
    int wakeFd = -1;  // eventfd the other threads write to wake the main thread
    int signalFd = -1;
};

// A buffer the frame can be drawn into, and who has it.
enum class BufferOwner { Free, Worker, Handed, Compositor };

// The buffers of one output's surface, all of the frame's size. Each surface has its own, so that
// what the compositor holds of one surface never keeps another from its next frame.
struct Lane {
    std::uint32_t outputName = 0;
    BufferSet set;
    std::vector<BufferOwner> owners;
    std::vector<std::uint64_t> holds;  // the number of the frame each buffer holds; 0 none
    int lent = -1;    // the buffer the worker draws this frame into
    int handed = -1;  // the buffer waiting for the main thread to show it
    int front = -1;   // the buffer shown last
    bool retired = false;  // its output has gone; it goes once the worker holds none of its buffers
};

// The frame between the two threads.
struct Frames {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::uint32_t> surface;  // the engine's frame, bottom-up rows
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    // The frame's size, which the main thread gives every lane's buffers.
    int wantedWidth = 0;
    int wantedHeight = 0;
    std::vector<std::unique_ptr<Lane>> lanes;
    // This frame's lent buffers, for the band threads, which read them without the lock.
    std::vector<WindowPixels> drawing;
    std::uint64_t frameCount = 0;
    // Some surface's frame callback came since the last frame was handed over: the compositor
    // shows our frames and wants the next.
    bool wanted = true;
    bool closing = false;
};

struct TimerEntry {
    unsigned periodMs = 0;
    std::uint32_t nextMs = 0;
};

struct Timers {
    std::mutex mutex;
    std::map<int, TimerEntry> ids;
};

struct HostState {
    Display display;
    Frames frames;
    Timers timers;
    linuxhost::CloseRequest close;
    linuxhost::WorkerThread worker;
};

inline HostState& state() { return hostState<HostState>(); }
inline void resetState() { remakeHostState<HostState>(); }

}  // namespace lw::wayland
