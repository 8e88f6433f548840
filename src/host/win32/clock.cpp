// The millisecond clock. A 1 ms timer resolution, set once before the entry point and kept for
// the run, makes both timeGetTime and Sleep accurate to about a millisecond.
#include "host/platform.h"
#include "host/win32/win32_host.h"
// After <windows.h>, which it needs.
#include <mmsystem.h>

namespace lw::platform {

namespace {
[[maybe_unused]] const MMRESULT timerResolution = timeBeginPeriod(1);
}  // namespace

std::uint32_t milliseconds() { return timeGetTime(); }

std::uint32_t tickCount() { return GetTickCount(); }

void sleepMs(std::uint32_t ms) {
    win32::stopHereIfAsked();
    Sleep(ms);
    win32::stopHereIfAsked();
}

}  // namespace lw::platform
