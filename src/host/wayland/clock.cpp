// The millisecond clock, and sleeps that a stop request cuts short on the worker.
#include "host/wayland/wayland_host.h"

namespace lw::wayland::host {

std::uint32_t milliseconds() { return linuxhost::monotonicMilliseconds(); }

std::uint32_t tickCount() { return linuxhost::monotonicMilliseconds(); }

void sleepMs(std::uint32_t ms) { state().worker.sleep(ms); }

}  // namespace lw::wayland::host
