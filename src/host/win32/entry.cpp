// The start-up: the mode decision, the window of each mode and the message loop.
#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/host_config.h"
#include "host/process.h"
#include "raster/frame_buffer.h"
#include "host/win32/win32_host.h"
#include "host/win32/win32_program.h"
// After <windows.h>, which it needs.
#include <shellapi.h>

namespace lw::win32 {

HINSTANCE instance = nullptr;
HWND hostWindow = nullptr;
HDC windowDC = nullptr;
SIZE windowSize{0, 0};
int previewMode = 0;
HWND previewParent = nullptr;
RECT previewRect{};

namespace {

std::vector<std::wstring> commandLineArguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) return {};
    std::vector<std::wstring> arguments(argv, argv + count);
    LocalFree(argv);
    return arguments;
}

// 0: go on with full or preview mode; 1: end the program now.
int decideMode() {
    previewMode = 0;
    const StartDecision decision = parseCommandLine(commandLineArguments());
    switch (decision.mode) {
        case StartMode::Full:
            return 0;
        case StartMode::Preview:
            previewParent = reinterpret_cast<HWND>(decision.previewParent);
            previewMode = 1;
            return 0;
        case StartMode::Quit:
            return 1;
        case StartMode::Help:
            MessageBoxW(hostWindow, hostConfig.helpText, hostConfig.helpCaption, MB_OK);
            return 1;
    }
    return 1;
}

bool openPreviewWindow() {
    GetClientRect(previewParent, &previewRect);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_PARENTDC;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = hostConfig.windowClassName;
    if (RegisterClassExW(&windowClass) == 0) return false;
    hostWindow = CreateWindowExW(0, hostConfig.windowClassName, hostConfig.windowClassName,
                                 WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0, previewRect.right - previewRect.left,
                                 previewRect.bottom - previewRect.top, previewParent, nullptr, instance, nullptr);
    // A handle that names no window gives no child; without a window nothing would ever end the
    // message loop.
    return hostWindow != nullptr;
}

bool registerFullClass() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"ICON_MAIN");
    if (windowClass.hIcon == nullptr) windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = hostConfig.windowClassName;
    return RegisterClassW(&windowClass) != 0;
}

// A window of the frame's size in the middle of the screen.
RECT centredWindow() {
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - frameWidth / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - frameHeight / 2;
    return {x, y, x + frameWidth, y + frameHeight};
}

bool openFullWindow(int showCommand) {
    if (!registerFullClass()) return false;
    const DWORD style = fullScreen == 1 ? WS_POPUP : WS_OVERLAPPEDWINDOW;
    const RECT place = fullScreen == 1 ? layOutFullScreen() : centredWindow();
    windowSize = {place.right - place.left, place.bottom - place.top};
    hostWindow = CreateWindowExW(0, hostConfig.windowClassName, hostConfig.windowClassName, style, place.left,
                                 place.top, windowSize.cx, windowSize.cy, nullptr, nullptr, instance, nullptr);
    if (hostWindow == nullptr) return false;
    ShowWindow(hostWindow, showCommand);
    UpdateWindow(hostWindow);
    windowDC = GetDC(hostWindow);
    if (windowDC != nullptr) prepareWindowDC(windowDC);
    // A window without its worker would stay on screen with nothing to end it.
    if (!startProcessThread()) {
        DestroyWindow(hostWindow);
        return true;
    }
    ShowCursor(hostConfig.showCursor);
    return true;
}

int runMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (windowDC != nullptr) ReleaseDC(hostWindow, windowDC);
    Sleep(1);
    return static_cast<int>(message.wParam);
}

// The show command a GUI entry point would be given: the starting program's, else the default.
int startupShowCommand() {
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

int runProgram(void (*configure)()) {
    configure();
    instance = GetModuleHandleW(nullptr);
    if (decideMode() == 1) return 0;
    const bool opened = previewMode == 1 ? openPreviewWindow() : openFullWindow(startupShowCommand());
    if (!opened) return 0;
    return runMessageLoop();
}

}  // namespace lw::win32
