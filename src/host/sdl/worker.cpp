// The worker thread: the desktop hosts' own (host/linux/worker_thread.h).
#include "host/sdl/sdl_host.h"

namespace lw::sdl::host {

bool startWorker(void (*threadMain)()) { return state().worker.start(threadMain); }

// A fatal error on the main thread has shown its box and closed the window; the process ends.
void endWorker() { state().worker.end(); }

void stopWorker() {
    state().worker.askToStop();
    // A worker waiting for a handover or a close must see the request too.
    beginClosing();
}

}  // namespace lw::sdl::host
