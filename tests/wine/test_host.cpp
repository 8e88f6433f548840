// A stand-in for the screensaver settings dialog, run under Wine by tests/wine/run: it plays the
// part of the host that starts Lumenwaltz.scr, and of a user who closes its window.
//
//   test_host preview SCR   opens a window, starts "SCR /p HWND" into it, checks the preview
//                           window, closes the host window and checks that SCR ends with exit
//                           code 0
//   test_host close CLASS   posts WM_CLOSE to the top-level window of that class, as a close
//                           button or the task manager would
//
// Wine draws a child window that belongs to another process nowhere, so the preview's pixels
// cannot be read back; tests/wine/run checks its drawing from Wine's trace of the icon calls.
//
// Prints one line per finding; the exit code is 0 when everything held.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kHostWidth = 320;
constexpr int kHostHeight = 240;

// Waits for a process (or, without one, just for the time) while answering the messages that
// its windows send to ours: a child window's destruction notifies its parent synchronously.
bool waitForProcess(HANDLE process, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return false;
        const DWORD handles = process != nullptr ? 1 : 0;
        const DWORD result = MsgWaitForMultipleObjects(handles, &process, FALSE, timeoutMs - spent, QS_ALLINPUT);
        if (handles == 1 && result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + handles) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

void pumpFor(DWORD ms) { waitForProcess(nullptr, ms); }

HWND openHostWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(RGB(40, 200, 90));
    windowClass.lpszClassName = L"LumenwaltzTestHost";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, L"Lumenwaltz test host", WS_POPUP | WS_VISIBLE, 100, 100,
                           kHostWidth, kHostHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
}

bool startPreview(const std::wstring& scr, HWND parent, PROCESS_INFORMATION& process) {
    const std::wstring commandLine = L"\"" + scr + L"\" /p " + std::to_wstring(reinterpret_cast<INT_PTR>(parent));
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) != 0;
}

HWND waitForChild(HWND parent, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND child = FindWindowExW(parent, nullptr, L"Lumenwaltz", nullptr);
        if (child != nullptr) return child;
        pumpFor(50);
    }
    return nullptr;
}

// The preview fills its parent and takes no input.
int checkChild(HWND parent, HWND child) {
    RECT parentArea;
    RECT childArea;
    GetClientRect(parent, &parentArea);
    GetClientRect(child, &childArea);
    std::printf("preview window: %ldx%ld in a host of %ldx%ld, %s\n", childArea.right, childArea.bottom,
                parentArea.right, parentArea.bottom, IsWindowEnabled(child) ? "enabled" : "disabled");
    const bool ok = childArea.right == parentArea.right && childArea.bottom == parentArea.bottom &&
                    !IsWindowEnabled(child);
    return ok ? 0 : 1;
}

int waitForExit(PROCESS_INFORMATION& process) {
    if (!waitForProcess(process.hProcess, 10000)) {
        std::printf("screensaver still running 10 s after its window was closed\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("screensaver exit code %lu\n", code);
    return code == 0 ? 0 : 1;
}

int runPreview(const std::wstring& scr) {
    HWND host = openHostWindow();
    if (host == nullptr) return 2;
    pumpFor(300);
    PROCESS_INFORMATION process{};
    if (!startPreview(scr, host, process)) {
        std::printf("could not start %ls\n", scr.c_str());
        return 2;
    }
    HWND child = waitForChild(host, 20000);
    if (child == nullptr) {
        std::printf("no preview window appeared\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    pumpFor(1000);  // time to paint, for the trace
    int failures = checkChild(host, child);
    DestroyWindow(host);
    failures += waitForExit(process);
    return failures == 0 ? 0 : 1;
}

int closeWindow(const std::wstring& className) {
    HWND window = FindWindowW(className.c_str(), nullptr);
    if (window == nullptr) {
        std::printf("no window of class %ls\n", className.c_str());
        return 1;
    }
    return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetProcessDPIAware();
    if (argc == 3 && std::wstring(argv[1]) == L"preview") return runPreview(argv[2]);
    if (argc == 3 && std::wstring(argv[1]) == L"close") return closeWindow(argv[2]);
    std::printf("usage: test_host preview SCR | test_host close CLASS\n");
    return 2;
}
