// Controls of the headless host for tests, benchmarks and the record mode: a simulated clock,
// a seeded tick count, recorded message boxes and a frame surface in memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lw::headless {

// Thrown by endWorker to unwind the worker (or a test's own thread) out of a fatal error.
struct WorkerExit {};

struct RecordedBox {
    std::wstring text;
    std::wstring caption;
    unsigned style = 0;
};

// Puts the host back to its start: clock 0, no timers, no boxes, no surface, 1024 x 768 screen.
void reset();

// --- clock -----------------------------------------------------------------------------------
void setMilliseconds(std::uint32_t ms);
void setTickCount(std::uint32_t ticks);
// With a real clock, milliseconds() reads the steady clock and sleepMs really sleeps.
void useRealClock(bool real);
// Advances simulated time (as a sleep does) and fires the timers that come due.
void advance(std::uint32_t ms);
std::uint64_t totalSleptMs();
std::uint32_t lastSleepMs();

// --- window ----------------------------------------------------------------------------------
void setScreenSize(int width, int height);
std::vector<RecordedBox> messageBoxes();
bool closeRequested();     // the window received its close request
bool cursorVisible();
// Closes the window from outside, as Alt+F4 would: the close handshake runs, and a worker that
// still runs its process is stopped at its next sleep.
void closeWindow();

// --- worker ----------------------------------------------------------------------------------
bool workerRunning();
void joinWorker();

// --- timers ----------------------------------------------------------------------------------
bool timerActive(int id);

// --- surface ---------------------------------------------------------------------------------
// The surface as the engine sees it (bottom-up), and the window: what the latest copies put
// there, top-down, screen-sized.
std::span<const std::uint32_t> surfacePixels();
std::span<const std::uint32_t> windowPixels();
int surfaceWidth();
int surfaceHeight();
int presentCount();
// With true the host answers as a desktop with one window of the frame's size does: the window is
// all that reads a frame's rows, so the bands may draw them elsewhere and leave the surface
// unwritten (the benchmark); with drawInWindow they may draw them straight into the window, else
// as on a desktop with two such windows, in rows of their own. Off after reset: tests read the
// surface.
void setWindowOnly(bool windowOnly, bool drawInWindow = true);
// Called when a thread that presented since its last sleep sleeps again: once per paced frame,
// with the window as that frame left it (the first frame's border flash is not a frame of its own).
using FrameListener = void (*)(std::span<const std::uint32_t> window, int width, int height);
void setFrameListener(FrameListener listener);

// --- resources -------------------------------------------------------------------------------
// Replaces (or with empty bytes, hides) a resource for the tests of damaged pictures.
void overrideResource(const std::wstring& name, const std::wstring& type, std::vector<std::uint8_t> bytes);
void clearResourceOverrides();
// The image decoder: whether it runs, how often it was started and stopped, and a switch that
// makes its next starts fail.
bool imageDecoderRunning();
int imageDecoderStarts();
int imageDecoderStops();
void failImageDecoderStart(bool fail);

}  // namespace lw::headless
