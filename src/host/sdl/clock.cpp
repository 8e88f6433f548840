// The millisecond clock: the monotonic clock, which like the Windows tick counts runs from the
// machine's start, so the seed differs from run to run.
#include <chrono>

#include "host/sdl/sdl_host.h"

namespace lw::sdl::host {

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
        SDL_Delay(ms);
        return;
    }
    stopHereIfAsked();
    workerSleep(ms);
    stopHereIfAsked();
}

}  // namespace lw::sdl::host
