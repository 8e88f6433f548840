// What the web host's files share: its state, and the page's side of the host (page_bridge.js),
// which the C++ side reaches through the lw_page_* functions below. Two builds come from these
// files: one with threads, for a page that is cross-origin isolated, and one without, where the
// worker runs between the browser's tasks on the page's only thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "host/host_state.h"

// Implemented in JavaScript. They run on the page's main thread: a worker thread's call waits
// there until it has run.
extern "C" {
int lw_page_screen_width();
int lw_page_screen_height();
// 1 when the page keeps the time itself (the tests and the benchmark under node).
int lw_page_clock_is_simulated();
double lw_page_now();            // that clock, in milliseconds
void lw_page_sleep(unsigned ms);  // lets that much of its time pass; due timers tick meanwhile
unsigned lw_page_tick_count();
// A new surface of that size, on a page whose bars beside the frame take that colour.
void lw_page_surface(int width, int height, unsigned background);
// Rows first .. first + count - 1 of the surface's memory (bottom-up), width pixels each.
void lw_page_present(const std::uint32_t* pixels, int width, int first, int count);
void lw_page_message(const char* text, const char* caption);  // UTF-8
void lw_page_cursor(int visible);
// The program has ended: the page leaves full screen, stops drawing and offers to start again.
void lw_page_close();
int lw_page_set_timer(int id, unsigned periodMs);
int lw_page_kill_timer(int id);
// Without threads: runs lw_web_worker_main soon, as an asynchronous call of its own.
void lw_page_start_worker();
// Without threads: leaves the worker's call at once, whatever its depth.
[[noreturn]] void lw_page_end_worker();
}

namespace lw::web {

struct Surface {
    std::uint32_t* pixels = nullptr;  // bottom-up rows, as the engine draws them
    int width = 0;
    int height = 0;
};

struct Worker {
    void (*main)() = nullptr;
    bool started = false;
    // Set on the main thread when the page goes while the worker still runs; the worker ends at
    // its next sleep.
    std::atomic<bool> stopRequested{false};
};

struct HostState {
    // Read from the page once, before the program's configuration.
    int screenWidth = 0;
    int screenHeight = 0;
    bool simulatedClock = false;
    Surface surface;
    Worker worker;
};

inline HostState& state() { return hostState<HostState>(); }

// Ends the calling worker when the page has asked it to stop; from its sleeps, where it holds
// nothing another thread waits for.
void stopHereIfAsked();

}  // namespace lw::web
