// The frame surface: a 32-bit bottom-up DIB section in a memory device context, copied to the
// window with BitBlt.
#include "host/platform.h"
#include "host/win32/win32_host.h"

namespace lw::win32 {

bool surfaceExists() { return state().surface.memDC.load(std::memory_order_relaxed) != nullptr; }

}  // namespace lw::win32

namespace lw::platform {

std::uint32_t* createSurface(int width, int height) {
    releaseSurface();
    if (width <= 0 || height <= 0) return nullptr;
    win32::Surface& surface = win32::state().surface;
    HWND window = win32::state().window.hostWindow;
    HDC screenDC = GetDC(window);
    HDC dc = CreateCompatibleDC(screenDC);
    void* bits = nullptr;
    if (dc != nullptr) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;  // positive: rows bottom-up
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        surface.dibBitmap = CreateDIBSection(screenDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (surface.dibBitmap != nullptr && bits != nullptr) {
            surface.oldBitmap = SelectObject(dc, surface.dibBitmap);
            surface.size = {width, height};
            surface.memDC.store(dc, std::memory_order_release);
        } else {
            if (surface.dibBitmap != nullptr) DeleteObject(surface.dibBitmap);
            surface.dibBitmap = nullptr;
            bits = nullptr;
            DeleteDC(dc);
        }
    }
    ReleaseDC(window, screenDC);
    return static_cast<std::uint32_t*>(bits);
}

void presentRect(int x, int y, int w, int h) {
    const win32::Surface& surface = win32::state().surface;
    HDC source = surface.memDC.load(std::memory_order_acquire);
    HDC windowDC = win32::state().window.windowDC;
    if (source == nullptr || windowDC == nullptr) return;
    win32::showOnMonitors(windowDC, source, surface.size, RECT{x, y, x + w, y + h});
}

// One device context takes one BitBlt at a time: the frame goes out whole, from the worker.
platform::RowCopies copiesRows() { return platform::RowCopies::Off; }
void copyRows(const std::uint32_t*, int, int, int, int) {}
std::uint32_t* surfaceInWindow(int&) { return nullptr; }
void presentCopied(int x, int y, int w, int h) { presentRect(x, y, w, h); }

void releaseSurface() {
    win32::Surface& surface = win32::state().surface;
    HDC dc = surface.memDC.exchange(nullptr, std::memory_order_relaxed);
    if (dc == nullptr) return;
    SelectObject(dc, surface.oldBitmap);
    DeleteObject(surface.dibBitmap);
    DeleteDC(dc);
    surface.dibBitmap = nullptr;
    surface.oldBitmap = nullptr;
}

}  // namespace lw::platform
