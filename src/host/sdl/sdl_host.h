// What the SDL host's files share. The window, the renderer and the texture belong to the main
// thread; the worker reaches the main thread only through pushed events and the handshakes of
// surface.cpp and window.cpp. Only the files of this folder include SDL's or X's headers.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>

#include "host/linux/host_table.h"

namespace lw::sdl {

extern const linuxhost::HostTable sdlHostTable;

// --- the window (main thread) ---------------------------------------------------------------
extern SDL_Window* hostWindow;
extern SDL_Renderer* renderer;
extern int previewMode;  // 1: painting the still preview into another program's window
extern bool hackMode;    // drawing into a window XScreenSaver (or the root) owns
// The size the frame takes as "the screen's": the display's, or the borrowed window's.
extern int screenSizeWidth;
extern int screenSizeHeight;

// Event types of our own, registered once SDL runs: a timer ticked (code: the timer id), the
// worker handed over a frame, the worker asks the window to close.
extern Uint32 timerEventType;
extern Uint32 presentEventType;
extern Uint32 closeEventType;
bool registerEventTypes();

// Handles one event as the window procedure handles one message. False once the loop must end.
bool dispatchEvent(const SDL_Event& event);

// --- presentation (surface.cpp) -------------------------------------------------------------
// Main thread: copies the rectangle the worker handed over into the texture and shows it.
void presentHandedOver();
// Main thread: shows the latest frame again (the window was uncovered), or black before one.
void repaint();
// Main thread: from now on handovers and close requests return at once, and a worker waiting
// for one is woken. Called as the window starts to close, before anything waits for the worker.
void beginClosing();
bool isClosing();
// Main thread, after the worker has ended: the texture goes.
void releaseTexture();

// --- the close handshake (window.cpp) -------------------------------------------------------
// Main thread: the worker's close request has been handled; wakes it.
void closeRequestHandled();
// Wakes a worker waiting for its close request to be handled, so it sees that the window is
// closing anyway.
void wakeCloseWaiter();

// --- the worker (worker.cpp) ----------------------------------------------------------------
// On the worker, where it holds no lock: ends the thread when the window has asked it to stop.
void stopHereIfAsked();
// Waits up to ms for the worker to end and collects it; false if it still runs.
bool awaitWorker(std::uint32_t ms);
// Wakes a worker that sleeps, so a stop request takes effect at once.
void wakeSleepingWorker();
bool onWorkerThread();
bool stopRequested();
// Sleeps on the worker; a stop request wakes it early.
void workerSleep(std::uint32_t ms);

// --- timers (timers.cpp) --------------------------------------------------------------------
void removeAllTimers();

// --- X windows (x11_windows.cpp) ------------------------------------------------------------
// Asks the X server directly, on a connection of our own: SDL would end the process on the X
// error that a wrong id gives.
bool windowExists(unsigned long window);
unsigned long rootWindow();  // 0 without a display
// Replaces Xlib's default handler, which ends the process on any X error: errors are ignored,
// except that the window we draw into going away ends the run.
void watchWindow(unsigned long window);
bool watchedWindowGone();

// --- preview (preview.cpp) ------------------------------------------------------------------
void paintPreview();

// --- the host's functions: those of host/platform.h ---------------------------------------
namespace host {
LW_DECLARE_HOST_FUNCTIONS()
}  // namespace host

}  // namespace lw::sdl
