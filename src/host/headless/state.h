// The headless host's own state, shared by its files. Guarded by one mutex because tests touch it
// from their own thread while the worker runs.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/headless/headless.h"

namespace lw::headless::detail {

struct Timer {
    unsigned period = 0;
    std::uint64_t nextDue = 0;
};

struct HostState {
    std::mutex mutex;
    // clock
    std::atomic<std::uint64_t> nowMs{0};  // simulated time, 64 bits so due times never wrap
    std::atomic<std::uint32_t> tickCount{0};
    std::atomic<bool> realClock{false};
    std::uint64_t totalSlept = 0;
    std::uint32_t lastSleep = 0;
    // window
    int screenWidth = 1024;
    int screenHeight = 768;
    std::vector<RecordedBox> boxes;
    std::atomic<bool> closeRequested{false};
    bool cursorVisible = true;
    // worker
    std::thread worker;
    std::atomic<bool> workerRunning{false};
    std::atomic<bool> stopRequested{false};
    // timers
    std::map<int, Timer> timers;
    // surface
    std::vector<std::uint32_t> surface;
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    std::vector<std::uint32_t> window;
    int presents = 0;
    FrameListener frameListener = nullptr;
    bool presentedSinceSleep = false;
    std::atomic<bool> windowOnly{false};
    std::atomic<bool> drawInWindow{true};
    // resources
    std::map<std::pair<std::wstring, std::wstring>, std::vector<std::uint8_t>> resourceOverrides;
    bool decoderRunning = false;
    bool decoderStartFails = false;
    int decoderStarts = 0;
    int decoderStops = 0;
};

HostState& state();
// True on the thread that the host started as the worker.
bool onWorkerThread();
// Fires every timer that came due by the current simulated time, outside the lock.
void fireDueTimers();
std::wstring upperCase(const std::wstring& text);

}  // namespace lw::headless::detail
