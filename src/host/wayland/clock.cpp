// The millisecond clock (the monotonic clock, which runs from the machine's start, so the seed
// differs from run to run) and sleeps that a stop request cuts short on the worker.
#include <chrono>

#include "host/wayland/wayland_host.h"

namespace lw::wayland::host {

namespace {
std::uint32_t monotonicMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
}  // namespace

std::uint32_t milliseconds() { return monotonicMilliseconds(); }

std::uint32_t tickCount() { return monotonicMilliseconds(); }

void sleepMs(std::uint32_t ms) {
    if (!onWorkerThread()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    stopHereIfAsked();
    workerSleep(ms);
    stopHereIfAsked();
}

}  // namespace lw::wayland::host
