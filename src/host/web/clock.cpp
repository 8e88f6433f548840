// The clock: the page's own time (performance.now), or the time the page keeps itself under
// node, where a sleep takes no time and every run of the same seed gives the same frames.
#include <emscripten/emscripten.h>
#include <emscripten/threading.h>

#include <cmath>

#include "host/platform.h"
#include "host/web/web_host.h"

namespace lw::platform {

namespace {
std::uint32_t wrapped(double ms) { return static_cast<std::uint32_t>(std::fmod(std::floor(ms), 4294967296.0)); }
}  // namespace

std::uint32_t milliseconds() {
    return wrapped(web::state().simulatedClock ? lw_page_now() : emscripten_get_now());
}

std::uint32_t tickCount() { return lw_page_tick_count(); }

void sleepMs(std::uint32_t ms) {
    web::stopHereIfAsked();
    if (web::state().simulatedClock) {
        lw_page_sleep(ms);
    } else {
#ifdef __EMSCRIPTEN_PTHREADS__
        emscripten_thread_sleep(ms);
#else
        // The browser has the thread meanwhile: the page's events and timers run.
        emscripten_sleep(ms);
#endif
    }
    web::stopHereIfAsked();
}

}  // namespace lw::platform
