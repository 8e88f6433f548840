// The frame surface: a 32-bit bottom-up DIB section in a memory device context, copied to the
// window with BitBlt.
#include <atomic>

#include "host/platform.h"
#include "host/win32/win32_host.h"

namespace lw::win32 {
namespace {
// Written by the worker, read by the paint handler on the main thread.
std::atomic<HDC> memDC{nullptr};
HBITMAP dibBitmap = nullptr;
HGDIOBJ oldBitmap = nullptr;
// Published by the store of memDC: whoever loads memDC as non-null (acquire) sees it.
SIZE surfaceSize{0, 0};
}  // namespace

bool surfaceExists() { return memDC.load(std::memory_order_relaxed) != nullptr; }

}  // namespace lw::win32

namespace lw::platform {

using win32::dibBitmap;
using win32::memDC;
using win32::oldBitmap;
using win32::surfaceSize;

std::uint32_t* createSurface(int width, int height) {
    releaseSurface();
    if (width <= 0 || height <= 0) return nullptr;
    HDC screenDC = GetDC(win32::hostWindow);
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
        dibBitmap = CreateDIBSection(screenDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dibBitmap != nullptr && bits != nullptr) {
            oldBitmap = SelectObject(dc, dibBitmap);
            surfaceSize = {width, height};
            memDC.store(dc, std::memory_order_release);
        } else {
            if (dibBitmap != nullptr) DeleteObject(dibBitmap);
            dibBitmap = nullptr;
            bits = nullptr;
            DeleteDC(dc);
        }
    }
    ReleaseDC(win32::hostWindow, screenDC);
    return static_cast<std::uint32_t*>(bits);
}

void presentRect(int x, int y, int w, int h) {
    HDC source = memDC.load(std::memory_order_acquire);
    if (source == nullptr || win32::windowDC == nullptr) return;
    win32::showOnMonitors(win32::windowDC, source, surfaceSize, RECT{x, y, x + w, y + h});
}

void releaseSurface() {
    HDC dc = memDC.exchange(nullptr, std::memory_order_relaxed);
    if (dc == nullptr) return;
    SelectObject(dc, oldBitmap);
    DeleteObject(dibBitmap);
    DeleteDC(dc);
    dibBitmap = nullptr;
    oldBitmap = nullptr;
}

}  // namespace lw::platform
