// Timers: the page's intervals, whose ticks come back on the main thread through lw_web_timer_tick.
#include <emscripten/emscripten.h>

#include "host/platform.h"
#include "host/process.h"
#include "host/web/web_host.h"

namespace lw::platform {

bool setTimer(int id, unsigned periodMs) { return lw_page_set_timer(id, periodMs) != 0; }

bool killTimer(int id) { return lw_page_kill_timer(id) != 0; }

}  // namespace lw::platform

extern "C" EMSCRIPTEN_KEEPALIVE void lw_web_timer_tick(int id) { lw::onTimerTick(id); }
