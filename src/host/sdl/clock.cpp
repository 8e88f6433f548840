// The millisecond clock, and sleeps that a stop request cuts short on the worker.
#include "host/sdl/sdl_host.h"

namespace lw::sdl::host {

std::uint32_t milliseconds() { return linuxhost::monotonicMilliseconds(); }

std::uint32_t tickCount() { return linuxhost::monotonicMilliseconds(); }

void sleepMs(std::uint32_t ms) { state().worker.sleep(ms); }

}  // namespace lw::sdl::host
