#include <chrono>
#include <thread>

#include "host/headless/state.h"
#include "host/headless/host.h"

namespace lw::headless::host {

using detail::state;

namespace {
std::uint64_t realMilliseconds() {
    static const auto start = std::chrono::steady_clock::now();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}
}  // namespace

std::uint32_t milliseconds() {
    if (state().realClock.load()) return static_cast<std::uint32_t>(realMilliseconds());
    return static_cast<std::uint32_t>(state().nowMs.load());
}

std::uint32_t tickCount() { return state().tickCount.load(); }

void sleepMs(std::uint32_t ms) {
    auto& host = state();
    headless::FrameListener listener = nullptr;
    int width = 0;
    int height = 0;
    {
        std::lock_guard lock(host.mutex);
        host.totalSlept += ms;
        host.lastSleep = ms;
        if (host.presentedSinceSleep) listener = host.frameListener;
        host.presentedSinceSleep = false;
        width = host.screenWidth;
        height = host.screenHeight;
    }
    // Only the presenting thread writes the window, so the listener reads it without the lock.
    if (listener != nullptr) listener(host.window, width, height);
    if (host.realClock.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    } else {
        headless::advance(ms);
    }
    // A window closed from outside stops the worker here, where a real thread would have been
    // terminated.
    if (host.stopRequested.load() && headless::detail::onWorkerThread()) endWorker();
}

}  // namespace lw::headless::host

namespace lw::headless {

void setMilliseconds(std::uint32_t ms) { detail::state().nowMs.store(ms); }
void setTickCount(std::uint32_t ticks) { detail::state().tickCount.store(ticks); }
void useRealClock(bool real) { detail::state().realClock.store(real); }

void advance(std::uint32_t ms) {
    detail::state().nowMs.fetch_add(ms);
    detail::fireDueTimers();
}

std::uint64_t totalSleptMs() {
    std::lock_guard lock(detail::state().mutex);
    return detail::state().totalSlept;
}

std::uint32_t lastSleepMs() {
    std::lock_guard lock(detail::state().mutex);
    return detail::state().lastSleep;
}

}  // namespace lw::headless
