// The worker thread. It cannot be ended safely from outside, so a stop request ends it at its next
// sleep or frame, where it holds no lock; endWorker unwinds it to its thread function.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "host/wayland/wayland_host.h"

namespace lw::wayland {

namespace {

// Thrown by endWorker and caught in the thread function; nothing else catches it.
struct WorkerStop {};

Worker& worker() { return state().worker; }

bool stopAsked() { return worker().stopAsked.load(std::memory_order_relaxed); }

void workerEntry() {
    Worker& self = worker();
    self.id.store(std::this_thread::get_id(), std::memory_order_relaxed);
    try {
        self.main();
    } catch (const WorkerStop&) {
        // Ended through fatalError, or stopped from outside.
    }
    std::lock_guard lock(self.finishMutex);
    self.finished = true;
    self.finishChanged.notify_all();
}

}  // namespace

void stopHereIfAsked() {
    if (onWorkerThread() && stopAsked()) throw WorkerStop{};
}

bool onWorkerThread() { return worker().id.load(std::memory_order_relaxed) == std::this_thread::get_id(); }

void wakeSleepingWorker() {
    std::lock_guard lock(worker().finishMutex);
    worker().finishChanged.notify_all();
}

void workerSleep(std::uint32_t ms) {
    std::unique_lock lock(worker().finishMutex);
    worker().finishChanged.wait_for(lock, std::chrono::milliseconds(ms), [] { return stopAsked(); });
}

bool awaitWorker(std::uint32_t ms) {
    Worker& self = worker();
    if (!self.thread.joinable()) return true;
    {
        std::unique_lock lock(self.finishMutex);
        if (!self.finishChanged.wait_for(lock, std::chrono::milliseconds(ms), [&self] { return self.finished; })) {
            return false;
        }
    }
    self.thread.join();
    return true;
}

namespace host {

bool startWorker(void (*threadMain)()) {
    Worker& self = worker();
    if (self.thread.joinable()) return false;
    self.main = threadMain;
    try {
        self.thread = std::thread(workerEntry);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void endWorker() {
    if (onWorkerThread()) throw WorkerStop{};
    // A fatal error on the main thread: its message is out and the window closed; nothing is
    // left to unwind to but the process itself.
    std::fflush(nullptr);
    std::_Exit(0);
}

void stopWorker() {
    worker().stopAsked.store(true, std::memory_order_relaxed);
    // A worker waiting for a buffer or a close must see the request too.
    beginClosing();
}

}  // namespace host

}  // namespace lw::wayland
