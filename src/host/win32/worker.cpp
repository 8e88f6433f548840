// The worker thread. Closing the window from outside stops it: at its next sleep if it gets there
// soon, where it holds no lock of the heap or of GDI, otherwise by terminating it.
#include <atomic>

#include "host/platform.h"
#include "host/win32/win32_host.h"

namespace lw::win32 {
namespace {
// Long enough for a frame to reach its pacing sleep; short enough that a closed window goes at once.
constexpr DWORD kStopGraceMs = 300;

void (*workerMain)() = nullptr;
HANDLE processThread = nullptr;
DWORD processThreadId = 0;
std::atomic<bool> stopRequested{false};

DWORD WINAPI workerEntry(LPVOID) {
    workerMain();
    return 0;
}
}  // namespace

void stopHereIfAsked() {
    if (stopRequested.load(std::memory_order_relaxed) && GetCurrentThreadId() == processThreadId) ExitThread(0);
}

}  // namespace lw::win32

namespace lw::platform {

using namespace win32;

bool startWorker(void (*threadMain)()) {
    if (processThread != nullptr) return false;
    workerMain = threadMain;
    processThread = CreateThread(nullptr, 0, workerEntry, hostWindow, 0, &processThreadId);
    return processThread != nullptr;
}

void endWorker() { ExitThread(0); }

void stopWorker() {
    if (processThread == nullptr) return;
    stopRequested.store(true, std::memory_order_relaxed);
    if (WaitForSingleObject(processThread, kStopGraceMs) != WAIT_OBJECT_0) TerminateThread(processThread, 0);
}

}  // namespace lw::platform
