// A stand-in for the screensaver settings dialog, run under Wine by tests/wine/run: it plays the
// part of the host that starts Lumenwaltz.scr, and of a user who closes its window.
//
//   test_host preview SCR   opens a window, starts "SCR /p HWND" into it, checks the preview
//                           window and its pixels against the icons in SCR, closes the window
//                           and checks that SCR ends with exit code 0
//   test_host close CLASS   posts WM_CLOSE to the top-level window of that class, as a close
//                           button or the task manager would
//   test_host paint HWND    (used by preview) puts a red child of this process into HWND
//
// Wine draws a child window that belongs to another process nowhere, so there the pixels cannot
// be read back; preview first tries a child of its own that surely paints, and when even that
// stays invisible it says "pixels: not shown here" and leaves the drawing to be checked from
// Wine's trace of the icon calls (tests/wine/run does).
//
// Prints one line per finding; the exit code is 0 when everything that could be checked held.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kHostWidth = 320;
constexpr int kHostHeight = 240;
constexpr int kAreaWidth = 152;
constexpr int kAreaHeight = 112;
constexpr COLORREF kHostColour = RGB(40, 200, 90);  // anything the preview never paints
constexpr std::uint32_t kHostPixel = 0x28C85A;      // the same colour as a pixel of a 32-bit DIB

struct Tile {
    const wchar_t* name;
    int x;
    int y;
};
constexpr Tile kTiles[] = {
    {L"ICON_SSPRVW01", 44, 7},  {L"ICON_SSPRVW02", 76, 7},  {L"ICON_SSPRVW03", 44, 39},
    {L"ICON_SSPRVW04", 76, 39}, {L"ICON_SSPRVW05", 12, 71}, {L"ICON_SSPRVW06", 44, 71},
    {L"ICON_SSPRVW07", 76, 71}, {L"ICON_SSPRVW08", 108, 71},
};

void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(10);
    }
}

// Waits for a process while answering the messages that its windows send to ours (a child
// window's destruction notifies its parent synchronously).
bool waitForProcess(HANDLE process, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return false;
        const DWORD result = MsgWaitForMultipleObjects(1, &process, FALSE, timeoutMs - spent, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + 1) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

// A 32-bit top-down DIB of w x h, selected into a memory DC, for drawing or capturing.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    std::uint32_t* bits = nullptr;
    int width = 0;

    Canvas(int w, int h) : width(w) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        void* memory = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
        bits = static_cast<std::uint32_t*>(memory);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    std::uint32_t at(int x, int y) const { return bits[y * width + x] & 0xFFFFFF; }
};

// What the preview should look like: the black area with the eight tiles drawn from the
// screensaver's own icons.
bool drawExpected(const std::wstring& scr, Canvas& expected) {
    HMODULE module = LoadLibraryExW(scr.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return false;
    RECT area{0, 0, kAreaWidth, kAreaHeight};
    FillRect(expected.dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    bool all = true;
    for (const auto& tile : kTiles) {
        HICON icon = LoadIconW(module, tile.name);
        if (icon == nullptr) {
            std::printf("icon %ls missing from the screensaver\n", tile.name);
            all = false;
            continue;
        }
        DrawIcon(expected.dc, tile.x, tile.y, icon);
    }
    FreeLibrary(module);
    return all;
}

// The host window's client area as it is on the screen.
void capture(HWND window, Canvas& shot) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.dc, 0, 0, kHostWidth, kHostHeight, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

// Kept for a look when the comparison fails.
void saveBitmap(const Canvas& canvas, int height, const wchar_t* path) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = canvas.width;
    info.biHeight = -height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD bytes = static_cast<DWORD>(canvas.width) * static_cast<DWORD>(height) * 4;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bytes;
    HANDLE out = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info, sizeof info, &written, nullptr);
    WriteFile(out, canvas.bits, bytes, &written, nullptr);
    CloseHandle(out);
}

int comparePreview(const Canvas& shot, const Canvas& expected) {
    int failures = 0;
    int different = 0;
    for (int y = 0; y < kAreaHeight; ++y) {
        for (int x = 0; x < kAreaWidth; ++x) {
            if (shot.at(x, y) != expected.at(x, y)) ++different;
        }
    }
    std::printf("preview area: %d of %d pixels differ from black with the eight icons\n", different,
                kAreaWidth * kAreaHeight);
    if (different != 0) {
        ++failures;
        saveBitmap(shot, kHostHeight, L"preview_actual.bmp");
        saveBitmap(expected, kAreaHeight, L"preview_expected.bmp");
    }
    int black = 0;
    for (const auto& tile : kTiles) {
        for (int i = 0; i < 32; ++i) black += shot.at(tile.x + i, tile.y + i) == 0 ? 1 : 0;
    }
    // Icons that drew nothing would leave their squares black and still match a black expectation.
    std::printf("icon diagonals: %d of %d pixels black\n", black, 8 * 32);
    if (black == 8 * 32) ++failures;
    return failures;
}

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND openHostWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = hostProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(kHostColour);
    windowClass.lpszClassName = L"LumenwaltzTestHost";
    RegisterClassW(&windowClass);
    RECT frame{0, 0, kHostWidth, kHostHeight};
    const DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowExW(0, windowClass.lpszClassName, L"Lumenwaltz test host", style, 100, 100,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
}

bool startProcess(const std::wstring& program, const std::wstring& verb, HWND parent, PROCESS_INFORMATION& process) {
    std::wstring commandLine = L"\"" + program + L"\" " + verb + L" " + std::to_wstring(reinterpret_cast<INT_PTR>(parent));
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) != 0;
}

HWND waitForChild(HWND parent, const wchar_t* className, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND child = FindWindowExW(parent, nullptr, className, nullptr);
        if (child != nullptr) return child;
        pumpFor(50);
    }
    return nullptr;
}

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

std::wstring ownPath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length);
}

// Whether a child window that another process paints shows up in this window's pixels.
bool foreignChildrenShow() {
    HWND host = openHostWindow();
    pumpFor(300);
    PROCESS_INFORMATION process{};
    if (host == nullptr || !startProcess(ownPath(), L"paint", host, process)) return false;
    HWND child = waitForChild(host, L"LumenwaltzTestPaint", 10000);
    pumpFor(800);
    Canvas shot(kHostWidth, kHostHeight);
    capture(host, shot);
    const bool shown = child != nullptr && shot.at(10, 10) == 0xFF0000;
    if (child != nullptr) PostMessageW(child, WM_CLOSE, 0, 0);
    if (!waitForProcess(process.hProcess, 5000)) TerminateProcess(process.hProcess, 1);
    DestroyWindow(host);
    pumpFor(100);
    return shown;
}

int checkPixels(HWND host, const std::wstring& scr) {
    Canvas shot(kHostWidth, kHostHeight);
    Canvas expected(kAreaWidth, kAreaHeight);
    capture(host, shot);
    int failures = drawExpected(scr, expected) ? 0 : 1;
    failures += comparePreview(shot, expected);
    // Past the area the preview leaves the host's own colour: it paints 152 x 112 and no more.
    int outside = 0;
    for (int y = 0; y < kAreaHeight; ++y) outside += shot.at(kAreaWidth, y) == kHostPixel ? 0 : 1;
    for (int x = 0; x < kAreaWidth; ++x) outside += shot.at(x, kAreaHeight) == kHostPixel ? 0 : 1;
    std::printf("beside the area: %d pixels painted over\n", outside);
    return failures + (outside != 0 ? 1 : 0);
}

int runPreview(const std::wstring& scr) {
    const bool pixelsReadable = foreignChildrenShow();
    HWND host = openHostWindow();
    if (host == nullptr) return 2;
    pumpFor(300);
    PROCESS_INFORMATION process{};
    if (!startProcess(scr, L"/p", host, process)) {
        std::printf("could not start %ls\n", scr.c_str());
        return 2;
    }
    HWND child = waitForChild(host, L"Lumenwaltz", 20000);
    if (child == nullptr) {
        std::printf("no preview window appeared\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    pumpFor(1000);
    int failures = checkChild(host, child);
    if (pixelsReadable) {
        failures += checkPixels(host, scr);
    } else {
        std::printf("pixels: not shown here (a child window of another process draws nowhere)\n");
    }
    DestroyWindow(host);
    failures += waitForExit(process);
    return failures == 0 ? 0 : 1;
}

LRESULT CALLBACK paintProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY || message == WM_TIMER) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int runPaintChild(HWND parent) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = paintProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(RGB(255, 0, 0));
    windowClass.lpszClassName = L"LumenwaltzTestPaint";
    RegisterClassW(&windowClass);
    HWND child = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 64, 64, parent,
                                 nullptr, windowClass.hInstance, nullptr);
    if (child == nullptr) return 1;
    SetTimer(child, 1, 15000, nullptr);  // never outlive a test host that went away
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
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
    if (argc == 3 && std::wstring(argv[1]) == L"paint") {
        return runPaintChild(reinterpret_cast<HWND>(static_cast<INT_PTR>(_wtoi64(argv[2]))));
    }
    std::printf("usage: test_host preview SCR | test_host close CLASS | test_host paint HWND\n");
    return 2;
}
