// The window procedure of both modes. In full mode it acts on nothing itself: it records input
// for the worker, passes timer ticks and the close request to the portable host, and repaints
// from the frame surface.
#include <cstdint>

#include "host/input.h"
#include "host/process.h"
#include "host/win32/win32_host.h"
#include "raster/frame_buffer.h"

namespace lw::win32 {

namespace {

struct PreviewIcon {
    const wchar_t* name;
    int x;
    int y;
};

// Eight 32 x 32 tiles of one still picture, on a black area of 152 x 112.
constexpr PreviewIcon kPreviewIcons[] = {
    {L"ICON_SSPRVW01", 44, 7},  {L"ICON_SSPRVW02", 76, 7},  {L"ICON_SSPRVW03", 44, 39},
    {L"ICON_SSPRVW04", 76, 39}, {L"ICON_SSPRVW05", 12, 71}, {L"ICON_SSPRVW06", 44, 71},
    {L"ICON_SSPRVW07", 76, 71}, {L"ICON_SSPRVW08", 108, 71},
};
constexpr RECT kPreviewArea{0, 0, 152, 112};

void paintPreview(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    previewRect = kPreviewArea;
    FillRect(dc, &previewRect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    for (const auto& icon : kPreviewIcons) {
        HICON image = LoadIconW(instance, icon.name);
        if (image != nullptr) DrawIcon(dc, icon.x, icon.y, image);
    }
    EndPaint(window, &paint);
}

LRESULT previewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_PAINT:
            paintPreview(window);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The paint always validates the window, frame or not: an unvalidated window gets WM_PAINT again
// at once, and the main thread would spin until the worker has made its frame.
void paintFull(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    paintBars(dc);
    if (surfaceExists()) presentWhole();
    EndPaint(window, &paint);
}

// The low 32 bits of a message parameter, as the 32-bit record keeps them.
int low32(std::uintptr_t value) { return static_cast<int>(static_cast<std::uint32_t>(value)); }

bool recordMouse(UINT message, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            recordMouseMove(static_cast<int>(LOWORD(lParam)), static_cast<int>(HIWORD(lParam)));
            return true;
        case WM_LBUTTONDOWN: recordButtonPress(MouseButton::Left); return true;
        case WM_LBUTTONUP: recordButtonRelease(MouseButton::Left); return true;
        case WM_RBUTTONDOWN: recordButtonPress(MouseButton::Right); return true;
        case WM_RBUTTONUP: recordButtonRelease(MouseButton::Right); return true;
        case WM_MBUTTONDOWN: recordButtonPress(MouseButton::Middle); return true;
        case WM_MBUTTONUP: recordButtonRelease(MouseButton::Middle); return true;
        default: return false;
    }
}

LRESULT fullProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_PAINT:
            paintFull(window);
            return 0;
        case WM_CLOSE:
            onCloseRequest();
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_ERASEBKGND:
            return 1;
        case WM_GETMINMAXINFO:
            // A window that spans several monitors is larger than the frame.
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxTrackSize = POINT{windowSize.cx, windowSize.cy};
            return 0;
        case WM_KEYDOWN:
            recordKeyPress(low32(wParam));
            return 0;
        case WM_KEYUP:
            recordKeyRelease(low32(wParam));
            return 0;
        case WM_TIMER:
            onTimerTick(low32(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            recordWheel(low32(wParam));
            return 0;
        default:
            if (recordMouse(message, lParam)) return 0;
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (previewMode == 1) return previewProcedure(window, message, wParam, lParam);
    return fullProcedure(window, message, wParam, lParam);
}

}  // namespace lw::win32
