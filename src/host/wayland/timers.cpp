// User timers: the main loop wakes for the next one due and passes its tick to onTimerTick, as
// WM_TIMER reaches the window procedure. They may be set from the worker.
#include "host/process.h"
#include "host/wayland/wayland_host.h"

namespace lw::wayland {

namespace {

// Differences of the wrapping millisecond clock, read as signed.
int msUntil(std::uint32_t when, std::uint32_t now) { return static_cast<std::int32_t>(when - now); }

}  // namespace

int tickTimers(std::uint32_t nowMs) {
    std::vector<int> due;
    int wait = -1;
    {
        Timers& timers = state().timers;
        std::lock_guard lock(timers.mutex);
        for (auto& [id, timer] : timers.ids) {
            if (msUntil(timer.nextMs, nowMs) <= 0) {
                due.push_back(id);
                // A loop held up for several periods ticks once, as WM_TIMER does.
                timer.nextMs = nowMs + timer.periodMs;
            }
            const int left = msUntil(timer.nextMs, nowMs);
            wait = wait < 0 || left < wait ? left : wait;
        }
    }
    for (const int id : due) onTimerTick(id);
    return wait;
}

namespace host {

// Like SetTimer, a second start of the same id replaces the first.
bool setTimer(int id, unsigned periodMs) {
    {
        Timers& timers = state().timers;
        std::lock_guard lock(timers.mutex);
        const unsigned period = periodMs == 0 ? 1 : periodMs;
        timers.ids[id] = {period, milliseconds() + period};
    }
    wakeMainThread();
    return true;
}

bool killTimer(int id) {
    Timers& timers = state().timers;
    std::lock_guard lock(timers.mutex);
    return timers.ids.erase(id) == 1;
}

}  // namespace host

}  // namespace lw::wayland
