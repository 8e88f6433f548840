#include "sprites/band_pool.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "host/memory.h"

namespace lw {

namespace {

// Far more than any machine this runs on; keeps a mistyped LW_THREADS from starting thousands.
constexpr int kMostThreads = 64;

// Waking a sleeping thread took about 50 us on the 2-core machine this was measured on. The
// worker, which meanwhile draws bands itself, waits for the helpers' last bands awake for at most
// this long, then sleeps on the condition variable. Helpers always sleep between hand-outs:
// keeping them awake for the next one made the frames a little quicker in the benchmark but cost
// a twentieth of a core on the screen.
constexpr auto kStayAwake = std::chrono::microseconds(300);
// How many spins pass between looks at the clock.
constexpr int kSpinsPerLook = 64;

void spinPause() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_ia32_pause();
#endif
}

// Spins until done() or kStayAwake has passed; done()'s last answer.
template <class Done>
bool spunUntil(Done done) {
    const auto until = std::chrono::steady_clock::now() + kStayAwake;
    for (int spins = 1;; ++spins) {
        if (done()) return true;
        spinPause();
        if (spins % kSpinsPerLook == 0 && std::chrono::steady_clock::now() > until) return done();
    }
}

// The frame's hand-out word: generation in the high 32 bits, band count and next band below. A
// helper that comes late to an old frame sees another generation and takes nothing.
std::atomic<std::uint64_t> work{0};
std::atomic<int> bandsDone{0};

// Written by the worker before it publishes a frame, read by a helper only after it has taken a
// band of that frame.
BandJob frameJob = nullptr;
const void* frameContext = nullptr;
std::uint32_t generation = 0;  // worker only

// Where helpers sleep between frames and the worker waits for the last band. Only frames and
// bands pass through the lock, never pixels. Made with the helpers and never a static object, so
// a process that ends without the scene's teardown destroys nothing that a helper still waits on.
struct PoolSync {
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable done;
    std::uint32_t published = 0;  // the generation helpers may work on; under the mutex
    bool stopping = false;        // under the mutex
};
PoolSync* sync = nullptr;
thread_local int threadIndex = 0;
std::thread* helpers = nullptr;
int helperCount = 0;

constexpr std::uint64_t pack(std::uint32_t gen, int count, int next) {
    return static_cast<std::uint64_t>(gen) << 32 | static_cast<std::uint64_t>(count) << 16 | static_cast<std::uint64_t>(next);
}

void takeBands(std::uint32_t gen) {
    std::uint64_t w = work.load(std::memory_order_acquire);
    for (;;) {
        const int count = static_cast<int>((w >> 16) & 0xFFFF);
        const int next = static_cast<int>(w & 0xFFFF);
        if (static_cast<std::uint32_t>(w >> 32) != gen || next >= count) return;
        if (!work.compare_exchange_weak(w, w + 1, std::memory_order_acq_rel, std::memory_order_acquire)) continue;
        frameJob(frameContext, next);
        if (bandsDone.fetch_add(1, std::memory_order_acq_rel) + 1 == count) {
            // Under the lock, so the worker cannot miss it between its test and its wait.
            std::lock_guard lock(sync->mutex);
            sync->done.notify_one();
        }
        w = work.load(std::memory_order_acquire);
    }
}

void helperMain(int index) {
    threadIndex = index;
    std::uint32_t seen = 0;
    std::unique_lock lock(sync->mutex);
    for (;;) {
        sync->wake.wait(lock, [&] { return sync->stopping || sync->published != seen; });
        if (sync->stopping) return;
        seen = sync->published;
        lock.unlock();
        takeBands(seen);
        lock.lock();
    }
}

int parsedThreadCount(const char* text) {
    if (text == nullptr || *text == '\0') return 0;
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (*end != '\0' || n < 1) return 0;
    return n > kMostThreads ? kMostThreads : static_cast<int>(n);
}

}  // namespace

int wantedThreadCount() {
    const int asked = parsedThreadCount(std::getenv("LW_THREADS"));
    if (asked > 0) return asked;
    const unsigned hardware = std::thread::hardware_concurrency();
    if (hardware == 0) return 1;
    return hardware > kMostThreads ? kMostThreads : static_cast<int>(hardware);
}

void startBandPool(int threads) {
    stopBandPool();
    if (threads > kMostThreads) threads = kMostThreads;
    if (threads <= 1) return;
    generation = 0;
    work.store(0, std::memory_order_relaxed);
    sync = new (alloc16(sizeof(PoolSync), 0)) PoolSync{};
    helpers = static_cast<std::thread*>(alloc16(sizeof(std::thread) * static_cast<std::size_t>(threads - 1), 0));
    for (int i = 0; i < threads - 1; ++i) {
        try {
            new (helpers + i) std::thread(helperMain, i + 1);
        } catch (const std::system_error&) {
            break;  // the threads started so far draw with the worker
        }
        ++helperCount;
    }
}

void stopBandPool() {
    if (sync == nullptr) return;
    {
        std::lock_guard lock(sync->mutex);
        sync->stopping = true;
    }
    sync->wake.notify_all();
    for (int i = 0; i < helperCount; ++i) {
        helpers[i].join();
        helpers[i].~thread();
    }
    freeAligned(helpers);
    helpers = nullptr;
    helperCount = 0;
    sync->~PoolSync();
    freeAligned(sync);
    sync = nullptr;
}

int bandPoolThreads() { return helperCount + 1; }

int bandThreadIndex() { return threadIndex; }

void runBands(int count, BandJob job, const void* context) {
    if (count <= 0) return;
    if (helperCount == 0 || count == 1) {
        for (int band = 0; band < count; ++band) job(context, band);
        return;
    }
    frameJob = job;
    frameContext = context;
    bandsDone.store(0, std::memory_order_relaxed);
    ++generation;
    work.store(pack(generation, count, 0), std::memory_order_release);
    {
        std::lock_guard lock(sync->mutex);
        sync->published = generation;
    }
    sync->wake.notify_all();
    takeBands(generation);
    if (spunUntil([&] { return bandsDone.load(std::memory_order_acquire) == count; })) return;
    std::unique_lock lock(sync->mutex);
    sync->done.wait(lock, [&] { return bandsDone.load(std::memory_order_acquire) == count; });
}

}  // namespace lw
