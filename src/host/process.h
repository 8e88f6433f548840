// The worker thread that runs the animation, its handshake with the window, the one fatal-error
// path of the engine and the user timers. The portable half: the hosts call onTimerTick and
// onCloseRequest from their main thread and start the worker with processThreadMain.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace lw {

using Hook = void (*)();

extern Hook processHook;  // the whole animation; runs on the worker
extern Hook redrawHook;   // runs on the main thread at each redraw tick

// Shared by the two threads: written by one side, read by the other, never under a lock.
extern std::atomic<int> processEnded;   // the process has ended (normally or fatally)
extern std::atomic<int> threadStopped;  // the worker no longer runs the process
extern int redrawBusy;                  // main thread only: re-entry guard of the redraw tick

constexpr int kUserTimerCount = 256;
constexpr int kUserTimerBase = 1000;  // user timer n is window timer n + 1000
constexpr int kRedrawTimerId = 347;
extern std::array<std::atomic<int>, kUserTimerCount> timerFired;

void defaultProcessHook();
void defaultRedrawHook();

// Shows the text with the caption "Process Runtime Error", closes the window and ends the
// worker. Never returns, so no caller goes on after a failed allocation or a missing resource.
[[noreturn]] void fatalError(const wchar_t* text);

// The worker's thread function: runs processHook, then closes the window.
void processThreadMain();
bool startProcessThread();

// Main thread: a window timer ticked / the window is asked to close.
void onTimerTick(int id);
void onCloseRequest();

bool startTimer(int n, int periodMs);
bool stopTimer(int n);

// Puts the start values back (tests).
void resetProcessState();

}  // namespace lw
