// The desktop's monitors under the full-screen window. The window spans them all; the frame has
// the primary monitor's size and is copied there as it is, and stretched onto every other one.
// The layout is made on the main thread before the worker starts and only read afterwards.
#include <vector>

#include "host/monitor_layout.h"
#include "host/win32/win32_host.h"
#include "raster/frame_buffer.h"

namespace lw::win32 {

namespace {

struct Monitors {
    std::vector<ScreenRect> rects;
    std::size_t primary = 0;
};

MonitorCopies& copies() { return state().monitors; }

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& found = *reinterpret_cast<Monitors*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info) == 0) return TRUE;
    const RECT& r = info.rcMonitor;
    if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) found.primary = found.rects.size();
    found.rects.push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
    return TRUE;
}

// Without a primary among them (no monitor found, or none marked), the screen alone, as on a
// desktop of one monitor.
Monitors findMonitors() {
    Monitors found;
    found.primary = SIZE_MAX;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&found));
    if (found.primary >= found.rects.size()) {
        found.rects = {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
        found.primary = 0;
    }
    return found;
}

RECT inWindow(const ScreenRect& rect, const ScreenRect& window) {
    const LONG left = rect.x - window.x;
    const LONG top = rect.y - window.y;
    return {left, top, left + rect.width, top + rect.height};
}

}  // namespace

RECT layOutFullScreen() {
    const Monitors monitors = findMonitors();
    const MonitorLayout layout = layOutMonitors(monitors.rects, monitors.primary);
    const ScreenRect& primary = layout.destinations[monitors.primary];
    copies().primaryOrigin = {primary.x - layout.window.x, primary.y - layout.window.y};
    for (std::size_t i = 0; i < monitors.rects.size(); ++i) {
        const ScreenRect& destination = layout.destinations[i];
        if (i == monitors.primary || destination.empty()) continue;
        copies().stretchedCopies.push_back(inWindow(destination, layout.window));
        for (const ScreenRect& bar : barsAround(monitors.rects[i], destination)) {
            copies().bars.push_back(inWindow(bar, layout.window));
        }
    }
    const ScreenRect& window = layout.window;
    return {window.x, window.y, window.x + window.width, window.y + window.height};
}

void prepareWindowDC(HDC dc) {
    // Each pixel of a stretched copy is one of the frame's, as cheap as a stretch gets.
    if (!copies().stretchedCopies.empty()) SetStretchBltMode(dc, COLORONCOLOR);
}

void showOnMonitors(HDC target, HDC source, SIZE surface, const RECT& part) {
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    const POINT origin = copies().primaryOrigin;
    // The slow stretches first, the plain copy last: the screen may be updated between any two
    // calls, and so the monitors show different frames only for the time of the quick one.
    for (const RECT& copy : copies().stretchedCopies) {
        StretchBlt(target, copy.left, copy.top, copy.right - copy.left, copy.bottom - copy.top, source, 0, 0, surface.cx,
                   surface.cy, SRCCOPY);
    }
    BitBlt(target, origin.x + part.left, origin.y + part.top, width, height, source, part.left, part.top, SRCCOPY);
}

void paintBars(HDC dc) {
    const std::vector<RECT>& bars = copies().bars;
    if (bars.empty()) return;
    const Colour colour = backgroundColour;
    HBRUSH brush = CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    if (brush == nullptr) return;
    for (const RECT& bar : bars) FillRect(dc, &bar, brush);
    DeleteObject(brush);
}

}  // namespace lw::win32
