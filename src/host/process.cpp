#include "host/process.h"

#include "host/platform.h"

namespace lw {

Hook processHook = defaultProcessHook;
Hook redrawHook = defaultRedrawHook;
std::atomic<int> processEnded{0};
std::atomic<int> threadStopped{0};
int redrawBusy = 0;
std::array<std::atomic<int>, kUserTimerCount> timerFired{};

namespace {
constexpr const wchar_t* kHookCaption = L"Process running";
constexpr const wchar_t* kFatalCaption = L"Process Runtime Error";
}  // namespace

void defaultProcessHook() { platform::messageBox(L"No process defined", kHookCaption, platform::kIconError); }

void defaultRedrawHook() {
    platform::messageBox(L"No Redraw function defined", kHookCaption, platform::kIconError);
}

void fatalError(const wchar_t* text) {
    platform::messageBox(text, kFatalCaption, platform::kIconError);
    threadStopped.store(1, std::memory_order_relaxed);
    processEnded.store(1, std::memory_order_relaxed);
    platform::requestClose();
    platform::endWorker();
}

void processThreadMain() {
    platform::sleepMs(3);
    processEnded.store(0, std::memory_order_relaxed);
    threadStopped.store(0, std::memory_order_relaxed);
    processHook();
    threadStopped.store(1, std::memory_order_relaxed);
    processEnded.store(1, std::memory_order_relaxed);
    platform::requestClose();
}

bool startProcessThread() { return platform::startWorker(processThreadMain); }

void onTimerTick(int id) {
    if (id == kRedrawTimerId) {
        if (redrawBusy != 0) return;
        redrawBusy = 1;
        redrawHook();
        redrawBusy = 0;
        return;
    }
    // Only ids 1000..1255 are ever started; anything else would index outside the flags.
    const int n = id - kUserTimerBase;
    if (n >= 0 && n < kUserTimerCount) timerFired[n].store(1, std::memory_order_relaxed);
}

void onCloseRequest() {
    if (processEnded.load(std::memory_order_relaxed) == 0) {
        platform::stopWorker();
        threadStopped.store(1, std::memory_order_relaxed);
    }
}

bool startTimer(int n, int periodMs) {
    return platform::setTimer(n + kUserTimerBase, static_cast<unsigned>(periodMs));
}

bool stopTimer(int n) { return platform::killTimer(n + kUserTimerBase); }

void resetProcessState() {
    processHook = defaultProcessHook;
    redrawHook = defaultRedrawHook;
    processEnded.store(0, std::memory_order_relaxed);
    threadStopped.store(0, std::memory_order_relaxed);
    redrawBusy = 0;
    for (auto& flag : timerFired) flag.store(0, std::memory_order_relaxed);
}

}  // namespace lw
