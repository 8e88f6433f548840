// The page's program on the web host: no command line and no modes, only the animation in the
// page's canvas. No browser type shows here.
#pragma once

namespace lw::web {

// Applies the program's configuration once the page has said how large its screen is, starts
// the worker, and returns 0 at once: the page's event loop goes on, and the worker with it.
int runProgram(void (*configure)());

}  // namespace lw::web
