// Window timers: their WM_TIMER ticks reach the main thread, which passes them to onTimerTick.
#include "host/platform.h"
#include "host/win32/win32_host.h"

namespace lw::platform {

bool setTimer(int id, unsigned periodMs) {
    return SetTimer(win32::state().window.hostWindow, static_cast<UINT_PTR>(id), periodMs, nullptr) != 0;
}

bool killTimer(int id) { return KillTimer(win32::state().window.hostWindow, static_cast<UINT_PTR>(id)) != FALSE; }

}  // namespace lw::platform
