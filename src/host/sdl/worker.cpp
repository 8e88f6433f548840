// The worker thread. It cannot be terminated safely from outside, so a stop request from the
// window ends it at its next sleep or frame handover, where it holds no lock; endWorker unwinds
// it to its thread function.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "host/sdl/sdl_host.h"

namespace lw::sdl {

namespace {

// Thrown by endWorker and caught in the thread function; nothing else catches it.
struct WorkerStop {};

Worker& worker() { return state().worker; }

bool stopAsked() { return worker().stopAsked.load(std::memory_order_relaxed); }

int workerEntry(void*) {
    Worker& self = worker();
    self.id.store(SDL_ThreadID(), std::memory_order_relaxed);
    try {
        self.main();
    } catch (const WorkerStop&) {
        // Ended through fatalError, or stopped from outside.
    }
    // A thread made later may be given the same id.
    self.id.store(0, std::memory_order_relaxed);
    std::lock_guard lock(self.finishMutex);
    self.finished = true;
    self.finishChanged.notify_all();
    return 0;
}

}  // namespace

void stopHereIfAsked() {
    if (onWorkerThread() && stopAsked()) throw WorkerStop{};
}

bool onWorkerThread() { return worker().id.load(std::memory_order_relaxed) == SDL_ThreadID(); }

bool stopRequested() { return stopAsked(); }

void wakeSleepingWorker() {
    std::lock_guard lock(worker().finishMutex);
    worker().finishChanged.notify_all();
}

// Sleeps on the worker, woken early by a stop request.
void workerSleep(std::uint32_t ms) {
    std::unique_lock lock(worker().finishMutex);
    worker().finishChanged.wait_for(lock, std::chrono::milliseconds(ms), [] { return stopAsked(); });
}

bool awaitWorker(std::uint32_t ms) {
    Worker& self = worker();
    if (self.thread == nullptr) return true;
    {
        std::unique_lock lock(self.finishMutex);
        if (!self.finishChanged.wait_for(lock, std::chrono::milliseconds(ms), [&self] { return self.finished; })) {
            return false;
        }
    }
    SDL_WaitThread(self.thread, nullptr);
    self.thread = nullptr;
    return true;
}

namespace host {

bool startWorker(void (*threadMain)()) {
    Worker& self = worker();
    if (self.thread != nullptr) return false;
    self.main = threadMain;
    self.thread = SDL_CreateThread(workerEntry, "lumenwaltz worker", nullptr);
    return self.thread != nullptr;
}

void endWorker() {
    if (onWorkerThread()) throw WorkerStop{};
    // A fatal error on the main thread: its box is shown and the window closed; nothing is left
    // to unwind to but the process itself.
    std::fflush(nullptr);
    std::_Exit(0);
}

void stopWorker() {
    worker().stopAsked.store(true, std::memory_order_relaxed);
    // A worker waiting for a handover or a close must see the request too.
    beginClosing();
}

}  // namespace host

}  // namespace lw::sdl
