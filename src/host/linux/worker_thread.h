// The worker thread of the Linux desktop hosts. A thread cannot be ended safely from outside, so
// a stop request ends it at its next stop point (a sleep, a frame handed over), where it holds no
// lock: the point unwinds it to its thread function. The millisecond clock the hosts share sits
// here too, since the worker's sleeps are measured by it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace lw::linuxhost {

// The monotonic clock, which like the Windows tick counts runs from the machine's start, so the
// seed differs from run to run.
std::uint32_t monotonicMilliseconds();

class WorkerThread {
public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    // A thread still running here is left to the process's end.
    ~WorkerThread();

    // Starts the one thread running main; false if it runs already or cannot start.
    bool start(void (*main)());
    bool isCurrent() const;
    // From any thread: the worker ends at its next stop point; a sleep ends at once.
    void askToStop();
    // On the worker, where it holds no lock: ends it when asked to. Elsewhere nothing.
    void stopHereIfAsked() const;
    // On the worker: ends it now. Anywhere else: ends the process, exit code 0, as nothing is
    // left to unwind to.
    [[noreturn]] void end() const;
    // On the worker: sleeps, woken early by a stop request. Elsewhere a plain sleep.
    void sleep(std::uint32_t ms);
    // Waits up to ms for the thread to end and collects it; false if it still runs.
    bool await(std::uint32_t ms);

private:
    void run();

    void (*main_)() = nullptr;
    std::thread thread_;
    std::atomic<std::thread::id> id_{};
    std::atomic<bool> stopAsked_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    bool finished_ = false;
};

// The worker's synchronous request that the window close, as a sent WM_CLOSE: it returns once
// the main thread has handled it, or once that thread is closing anyway and will not answer.
class CloseRequest {
public:
    // Worker: post() hands the request to the main thread (false when it cannot); closing()
    // tells whether the main thread is closing anyway. Both are called with the lock held.
    template <typename Post, typename Closing>
    void askAndWait(Post post, Closing closing) {
        std::unique_lock lock(mutex_);
        asked_ = true;
        handled_ = false;
        if (!post()) {
            asked_ = false;
            return;
        }
        done_.wait(lock, [&] { return handled_ || closing(); });
    }
    // Main thread: whether a request waits; it is taken.
    bool take();
    // Main thread: the request has been handled; wakes the worker.
    void markHandled();
    // Wakes a waiting worker, so it looks at closing() again.
    void wake();

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool asked_ = false;
    bool handled_ = false;
};

}  // namespace lw::linuxhost
