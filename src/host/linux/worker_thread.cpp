#include "host/linux/worker_thread.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace lw::linuxhost {

namespace {
// Thrown at a stop point and caught in the thread function; nothing else catches it.
struct WorkerStop {};
}  // namespace

std::uint32_t monotonicMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

WorkerThread::~WorkerThread() {
    if (thread_.joinable()) thread_.detach();
}

bool WorkerThread::start(void (*main)()) {
    if (thread_.joinable()) return false;
    main_ = main;
    try {
        thread_ = std::thread(&WorkerThread::run, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void WorkerThread::run() {
    id_.store(std::this_thread::get_id(), std::memory_order_relaxed);
    try {
        main_();
    } catch (const WorkerStop&) {
        // Ended through a fatal error, or stopped from outside.
    }
    // A thread made later may be given the same id.
    id_.store(std::thread::id{}, std::memory_order_relaxed);
    std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
}

bool WorkerThread::isCurrent() const { return id_.load(std::memory_order_relaxed) == std::this_thread::get_id(); }

void WorkerThread::askToStop() {
    stopAsked_.store(true, std::memory_order_relaxed);
    std::lock_guard lock(mutex_);
    changed_.notify_all();
}

void WorkerThread::stopHereIfAsked() const {
    if (isCurrent() && stopAsked_.load(std::memory_order_relaxed)) throw WorkerStop{};
}

void WorkerThread::end() const {
    if (isCurrent()) throw WorkerStop{};
    std::fflush(nullptr);
    std::_Exit(0);
}

void WorkerThread::sleep(std::uint32_t ms) {
    if (!isCurrent()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    stopHereIfAsked();
    {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::milliseconds(ms),
                          [this] { return stopAsked_.load(std::memory_order_relaxed); });
    }
    stopHereIfAsked();
}

bool WorkerThread::await(std::uint32_t ms) {
    if (!thread_.joinable()) return true;
    {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return finished_; })) return false;
    }
    thread_.join();
    return true;
}

bool CloseRequest::take() {
    std::lock_guard lock(mutex_);
    const bool asked = asked_;
    asked_ = false;
    return asked;
}

void CloseRequest::markHandled() {
    std::lock_guard lock(mutex_);
    handled_ = true;
    done_.notify_all();
}

void CloseRequest::wake() {
    std::lock_guard lock(mutex_);
    done_.notify_all();
}

}  // namespace lw::linuxhost
