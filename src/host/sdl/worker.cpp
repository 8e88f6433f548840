// The worker thread. It cannot be terminated safely from outside, so a stop request from the
// window ends it at its next sleep or frame handover, where it holds no lock; endWorker unwinds
// it to its thread function.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "host/sdl/sdl_host.h"

namespace lw::sdl {

namespace {

// Thrown by endWorker and caught in the thread function; nothing else catches it.
struct WorkerStop {};

void (*workerMain)() = nullptr;
SDL_Thread* processThread = nullptr;
std::atomic<bool> stopAsked{false};
thread_local bool isWorkerThread = false;

std::mutex finishMutex;
std::condition_variable finishChanged;  // also wakes a sleeping worker
bool finished = false;

int workerEntry(void*) {
    isWorkerThread = true;
    try {
        workerMain();
    } catch (const WorkerStop&) {
        // Ended through fatalError, or stopped from outside.
    }
    std::lock_guard lock(finishMutex);
    finished = true;
    finishChanged.notify_all();
    return 0;
}

}  // namespace

void stopHereIfAsked() {
    if (isWorkerThread && stopAsked.load(std::memory_order_relaxed)) throw WorkerStop{};
}

bool onWorkerThread() { return isWorkerThread; }

bool stopRequested() { return stopAsked.load(std::memory_order_relaxed); }

void wakeSleepingWorker() {
    std::lock_guard lock(finishMutex);
    finishChanged.notify_all();
}

// Sleeps on the worker, woken early by a stop request.
void workerSleep(std::uint32_t ms) {
    std::unique_lock lock(finishMutex);
    finishChanged.wait_for(lock, std::chrono::milliseconds(ms), [] { return stopAsked.load(std::memory_order_relaxed); });
}

bool awaitWorker(std::uint32_t ms) {
    if (processThread == nullptr) return true;
    {
        std::unique_lock lock(finishMutex);
        if (!finishChanged.wait_for(lock, std::chrono::milliseconds(ms), [] { return finished; })) return false;
    }
    SDL_WaitThread(processThread, nullptr);
    processThread = nullptr;
    return true;
}

namespace host {

bool startWorker(void (*threadMain)()) {
    if (processThread != nullptr) return false;
    workerMain = threadMain;
    processThread = SDL_CreateThread(workerEntry, "lumenwaltz worker", nullptr);
    return processThread != nullptr;
}

void endWorker() {
    if (isWorkerThread) throw WorkerStop{};
    // A fatal error on the main thread: its box is shown and the window closed; nothing is left
    // to unwind to but the process itself.
    std::fflush(nullptr);
    std::_Exit(0);
}

void stopWorker() {
    stopAsked.store(true, std::memory_order_relaxed);
    // A worker waiting for a handover or a close must see the request too.
    beginClosing();
}

}  // namespace host

}  // namespace lw::sdl
