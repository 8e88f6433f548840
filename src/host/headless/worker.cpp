#include "host/headless/state.h"
#include "host/headless/host.h"

namespace lw::headless::host {

using detail::state;

namespace {
thread_local bool isWorkerThread = false;
}  // namespace

bool startWorker(void (*threadMain)()) {
    auto& host = state();
    if (host.worker.joinable()) return false;
    host.stopRequested.store(false);
    host.workerRunning.store(true);
    host.worker = std::thread([threadMain] {
        isWorkerThread = true;
        try {
            threadMain();
        } catch (const headless::WorkerExit&) {
            // The worker ended through fatalError or was stopped from outside.
        }
        state().workerRunning.store(false);
    });
    return true;
}

void endWorker() { throw headless::WorkerExit{}; }

void stopWorker() { state().stopRequested.store(true); }

}  // namespace lw::headless::host

namespace lw::headless {

bool detail::onWorkerThread() { return host::isWorkerThread; }

bool workerRunning() { return detail::state().workerRunning.load(); }

void joinWorker() {
    auto& host = detail::state();
    if (host.worker.joinable() && host.worker.get_id() != std::this_thread::get_id()) host.worker.join();
}

}  // namespace lw::headless
