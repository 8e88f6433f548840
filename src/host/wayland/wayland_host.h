// What the Wayland host's files share. All protocol calls are made on the main thread: the worker
// reaches it only through Frames (a buffer lent for a frame and handed back), the close
// handshake, the timers and the wake-up file descriptor. Only the files of this folder include
// libwayland's or xkbcommon's headers.
#pragma once

#include <wayland-client.h>

#include <cstdint>

#include "fractional-scale-v1-client.h"
#include "host/linux/host_table.h"
#include "host/wayland/state.h"
#include "viewporter-client.h"
#include "xdg-shell-client.h"

namespace lw::wayland {

extern const linuxhost::HostTable waylandHostTable;

void report(const char* format, ...) __attribute__((format(printf, 1, 2)));

// --- the connection and its globals (connection.cpp) ---------------------------------------
// Connects and binds the globals; false, after saying why on standard error, when a needed one
// is missing.
bool connectToCompositor();
// Main thread, at the end: whatever was bound goes, and the connection with it.
void disconnect();
// Wakes the main thread from any thread.
void wakeMainThread();

// --- outputs and their surfaces (outputs.cpp) ----------------------------------------------
void addOutput(std::uint32_t name, std::uint32_t version);
void removeOutput(std::uint32_t name);
void forgetOutputs();
Output* primaryOutput();
// The output's own pixels: its current mode, turned as the output is turned.
bool outputPixelSize(const Output& output, int& width, int& height);
// Main thread: a full-screen surface on every output that has none yet.
void showOnEveryOutput();
// The surface on an output that surface is, or holds; and that output.
const OutputSurface* surfaceShowing(const wl_surface* surface, const Output** output);
void destroySurface(OutputSurface& shown);
// Main thread: puts the buffer on that output's surface, if it is laid out, and asks it for a
// frame callback; false when it did not take it.
bool showBufferOn(std::uint32_t outputName, wl_buffer* buffer);
// Main thread: lays out the surfaces for a frame of that size, where the compositor's configure
// or the frame's size changed.
void layOutSurfaces(int frameWidth, int frameHeight);

// --- shared-memory buffers (buffers.cpp) ---------------------------------------------------
// Main thread: a memfd pool with count buffers of width x height; false when it cannot be had.
bool makeBufferSet(BufferSet& set, int width, int height, int count);
void destroyBufferSet(BufferSet& set);

// --- the frame between the threads (frames.cpp, lanes.cpp) ---------------------------------
// Main thread: surfaces for new outputs, layouts, and each surface's lane of buffers at the
// frame's size; a frame that cannot have its buffers closes the window.
void tendSurfaces();
// Main thread: shows the buffers the worker handed over, if any.
void showHandedBuffers();
// Main thread, before the worker starts: shows every lane's first buffer as made (black), so the
// outputs show the program at once.
void showFirstBuffers();
void onBufferReleased(wl_buffer* buffer);
// Main thread: a surface's frame callback came.
void onFrameWanted();
// Main thread, at the end: every lane's buffers go.
void forgetLanes();
// From now on the worker waits for nothing, and is woken if it does.
void beginClosing();
bool isClosing();

// --- input (input.cpp) ---------------------------------------------------------------------
void addSeat(std::uint32_t name, std::uint32_t version);
void removeSeat(std::uint32_t name);
void releaseInput();
// Main thread: a repeating key's next press, when due; the time until then in ms, or -1.
int repeatKeys(std::uint32_t nowMs);
void hideCursorOn(wl_pointer* pointer, std::uint32_t serial);

// --- the event loop (loop.cpp) -------------------------------------------------------------
// Before any thread starts: SIGTERM and SIGINT reach the loop alone, as readable descriptors.
void catchSignals();
// Reads and dispatches the compositor's events, waiting at most timeoutMs; false when the
// connection has failed.
bool waitForCompositor(int timeoutMs);
// Until the window closes, the compositor goes, or a signal ends the run.
void runEventLoop();
// Main thread: the window closes; the worker is stopped if its process still runs.
void closeWindow();

// --- the close handshake (window.cpp) and the worker (host/linux/worker_thread.h) ----------
// Main thread: a close request from the worker waits; handles it.
void handleCloseRequest();
inline void stopHereIfAsked() { state().worker.stopHereIfAsked(); }
inline bool onWorkerThread() { return state().worker.isCurrent(); }
inline bool awaitWorker(std::uint32_t ms) { return state().worker.await(ms); }

// --- timers (timers.cpp) -------------------------------------------------------------------
// Main thread: ticks the timers that are due; the time until the next one in ms, or -1.
int tickTimers(std::uint32_t nowMs);

namespace host {
LW_DECLARE_HOST_FUNCTIONS()
}  // namespace host

}  // namespace lw::wayland
