// The worker. With threads it is a thread of its own that ends by unwinding to its entry. Without
// them it is an asynchronous call on the page's thread: each sleep hands the thread back to the
// browser until the sleep is over, and its end leaves the call from whatever depth.
#include <emscripten/emscripten.h>
#include <pthread.h>

#include "host/platform.h"
#include "host/web/web_host.h"

namespace lw::web {

namespace {
Worker& worker() { return state().worker; }
}  // namespace

#ifdef __EMSCRIPTEN_PTHREADS__

namespace {

// Thrown by endWorker and caught in the thread's entry; nothing else catches it.
struct WorkerStop {};

thread_local bool isWorkerThread = false;

void* workerEntry(void*) {
    isWorkerThread = true;
    try {
        worker().main();
    } catch (const WorkerStop&) {
        // Ended through fatalError, or stopped by the page.
    }
    return nullptr;
}

}  // namespace

void stopHereIfAsked() {
    if (worker().stopRequested.load(std::memory_order_relaxed) && isWorkerThread) throw WorkerStop{};
}

}  // namespace lw::web

namespace lw::platform {

bool startWorker(void (*threadMain)()) {
    web::Worker& self = web::worker();
    if (self.started) return false;
    self.main = threadMain;
    pthread_t thread{};
    self.started = pthread_create(&thread, nullptr, web::workerEntry, nullptr) == 0;
    if (self.started) pthread_detach(thread);
    return self.started;
}

void endWorker() { throw web::WorkerStop{}; }

#else

void stopHereIfAsked() {
    if (worker().stopRequested.load(std::memory_order_relaxed)) lw_page_end_worker();
}

}  // namespace lw::web

// Called by the page through its asynchronous call.
extern "C" EMSCRIPTEN_KEEPALIVE void lw_web_worker_main() { lw::web::state().worker.main(); }

namespace lw::platform {

bool startWorker(void (*threadMain)()) {
    web::Worker& self = web::worker();
    if (self.started) return false;
    self.main = threadMain;
    self.started = true;
    lw_page_start_worker();
    return true;
}

void endWorker() { lw_page_end_worker(); }

#endif

void stopWorker() { web::worker().stopRequested.store(true, std::memory_order_relaxed); }

}  // namespace lw::platform
