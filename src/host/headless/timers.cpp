#include <vector>

#include "host/headless/state.h"
#include "host/headless/host.h"
#include "host/process.h"

namespace lw::headless::host {

using detail::state;

bool setTimer(int id, unsigned periodMs) {
    auto& host = state();
    std::lock_guard lock(host.mutex);
    const unsigned period = periodMs == 0 ? 1 : periodMs;
    host.timers[id] = {period, host.nowMs.load() + period};
    return true;
}

bool killTimer(int id) {
    auto& host = state();
    std::lock_guard lock(host.mutex);
    return host.timers.erase(id) != 0;
}

}  // namespace lw::headless::host

namespace lw::headless {

bool timerActive(int id) {
    std::lock_guard lock(detail::state().mutex);
    return detail::state().timers.contains(id);
}

namespace detail {

void fireDueTimers() {
    auto& host = state();
    std::vector<int> due;
    {
        std::lock_guard lock(host.mutex);
        const std::uint64_t now = host.nowMs.load();
        for (auto& [id, timer] : host.timers) {
            // Like window timers, ticks that pile up while nobody looks arrive as one.
            if (now >= timer.nextDue) {
                due.push_back(id);
                while (timer.nextDue <= now) timer.nextDue += timer.period;
            }
        }
    }
    for (int id : due) onTimerTick(id);
}

}  // namespace detail
}  // namespace lw::headless
