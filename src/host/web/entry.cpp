// The start-up: the page's screen and clock, the program's configuration, the worker.
#include <cstdlib>

#include "host/process.h"
#include "host/web/web_host.h"
#include "host/web/web_program.h"

namespace lw::web {

int runProgram(void (*configure)()) {
    HostState& host = state();
    host.screenWidth = lw_page_screen_width();
    host.screenHeight = lw_page_screen_height();
    host.simulatedClock = lw_page_clock_is_simulated() != 0;
#ifndef __EMSCRIPTEN_PTHREADS__
    // No helper can start without threads, and this build cannot catch the failure to start one
    // (it has no exceptions): the worker draws every band itself.
    setenv("LW_THREADS", "1", 1);
#endif
    configure();
    // Without a worker nothing would ever draw: the page says so rather than stay blank.
    if (!startProcessThread()) lw_page_message("The animation could not be started.", "Lumenwaltz");
    return 0;
}

}  // namespace lw::web
