// What the SDL host's files share. The windows and their surfaces belong to the main thread;
// the worker reaches the main thread only through pushed events and the handshakes of
// surface.cpp and window.cpp. Only the files of this folder include SDL's or X's headers.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>

#include "host/linux/host_table.h"
#include "host/sdl/state.h"

namespace lw::sdl {

extern const linuxhost::HostTable sdlHostTable;

// Registers the event types of our own once SDL runs.
bool registerEventTypes();

// Handles one event as the window procedure handles one message. False once the loop must end.
bool dispatchEvent(const SDL_Event& event);

// --- the windows that show the frame (screens.cpp) ------------------------------------------
// Main thread: one full-screen window per display (a display that overlaps the primary one
// mirrors it and gets none), or one window of the frame's size when not full screen.
bool openFrameWindows(const char* title);
// Main thread: the borrowed window shows the frame.
void showFrameIn(SDL_Window* window);
FrameWindow* frameWindowById(Uint32 id);
void hideFrameWindows();
// Main thread, after the worker has ended: the windows go (a borrowed one stays its owner's).
void closeFrameWindows();

// --- presentation (surface.cpp) -------------------------------------------------------------
// Main thread: copies the rectangle the worker handed over onto every window's surface and
// shows them.
void presentHandedOver();
// Main thread: shows the windows' surfaces again (a window was uncovered or resized).
void repaint();
// Main thread: from now on handovers and close requests return at once, and a worker waiting
// for one is woken. Called as the window starts to close, before anything waits for the worker.
void beginClosing();
bool isClosing();


// --- the worker (host/linux/worker_thread.h) ------------------------------------------------
// On the worker, where it holds no lock: ends the thread when the window has asked it to stop.
inline void stopHereIfAsked() { state().worker.stopHereIfAsked(); }
// Waits up to ms for the worker to end and collects it; false if it still runs.
inline bool awaitWorker(std::uint32_t ms) { return state().worker.await(ms); }
inline bool onWorkerThread() { return state().worker.isCurrent(); }

// --- timers (timers.cpp) --------------------------------------------------------------------
void removeAllTimers();

// --- X windows (x11_windows.cpp) ------------------------------------------------------------
// Asks the X server directly, on a connection of our own: SDL would end the process on the X
// error that a wrong id gives.
bool windowExists(unsigned long window);
// False when the window does not exist.
bool windowSize(unsigned long window, int& width, int& height);
unsigned long rootWindow();  // 0 without a display
// Replaces Xlib's default handlers, which end the process on any X error: errors are ignored,
// except that the window we draw into going away ends the run; a lost connection to the X server
// ends the process at once with exit code 0.
void watchWindow(unsigned long window);
bool watchedWindowGone();

// --- preview (preview.cpp) ------------------------------------------------------------------
void paintPreview();

// --- the host's functions: those of host/platform.h ---------------------------------------
namespace host {
LW_DECLARE_HOST_FUNCTIONS()
}  // namespace host

}  // namespace lw::sdl
