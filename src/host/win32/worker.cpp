// The worker thread. Closing the window from outside stops it: at its next sleep if it gets there
// soon, where it holds no lock of the heap or of GDI, otherwise by terminating it.
#include "host/platform.h"
#include "host/win32/win32_host.h"

namespace lw::win32 {
namespace {
// Long enough for a frame to reach its pacing sleep; short enough that a closed window goes at once.
constexpr DWORD kStopGraceMs = 300;

DWORD WINAPI workerEntry(LPVOID) {
    state().worker.main();
    return 0;
}
}  // namespace

void stopHereIfAsked() {
    const Worker& worker = state().worker;
    if (worker.stopRequested.load(std::memory_order_relaxed) && GetCurrentThreadId() == worker.threadId) ExitThread(0);
}

}  // namespace lw::win32

namespace lw::platform {

bool startWorker(void (*threadMain)()) {
    win32::Worker& worker = win32::state().worker;
    if (worker.thread != nullptr) return false;
    worker.main = threadMain;
    worker.thread =
        CreateThread(nullptr, 0, win32::workerEntry, win32::state().window.hostWindow, 0, &worker.threadId);
    return worker.thread != nullptr;
}

void endWorker() { ExitThread(0); }

void stopWorker() {
    win32::Worker& worker = win32::state().worker;
    if (worker.thread == nullptr) return;
    worker.stopRequested.store(true, std::memory_order_relaxed);
    if (WaitForSingleObject(worker.thread, win32::kStopGraceMs) != WAIT_OBJECT_0) TerminateThread(worker.thread, 0);
}

}  // namespace lw::platform
