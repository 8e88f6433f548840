#include "host/monitor_layout.h"

#include <algorithm>
#include <cstdint>

namespace lw {

bool intersects(const ScreenRect& a, const ScreenRect& b) {
    if (a.empty() || b.empty()) return false;
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

namespace {

ScreenRect boundingBox(std::span<const ScreenRect> monitors, std::size_t primary) {
    // Starting from the primary keeps monitors without area out of the box.
    int left = monitors[primary].x;
    int top = monitors[primary].y;
    int right = left + monitors[primary].width;
    int bottom = top + monitors[primary].height;
    for (const ScreenRect& monitor : monitors) {
        if (monitor.empty()) continue;
        left = std::min(left, monitor.x);
        top = std::min(top, monitor.y);
        right = std::max(right, monitor.x + monitor.width);
        bottom = std::max(bottom, monitor.y + monitor.height);
    }
    return {left, top, right - left, bottom - top};
}

// a * b / c rounded to the nearest integer, without overflow for screen sizes.
int scaled(int a, int b, int c) {
    const std::int64_t product = std::int64_t{a} * b;
    return static_cast<int>((2 * product + c) / (2 * std::int64_t{c}));
}

}  // namespace

MonitorLayout layOutMonitors(std::span<const ScreenRect> monitors, std::size_t primary) {
    MonitorLayout layout;
    if (primary >= monitors.size()) return layout;
    const ScreenRect& main = monitors[primary];
    layout.window = boundingBox(monitors, primary);
    layout.destinations.reserve(monitors.size());
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const ScreenRect& monitor = monitors[i];
        if (i == primary) {
            layout.destinations.push_back(main);
        } else if (monitor.empty() || main.empty() || intersects(monitor, main)) {
            layout.destinations.push_back({});
        } else {
            layout.destinations.push_back(fitCentred(main.width, main.height, monitor));
        }
    }
    return layout;
}

ScreenRect fitCentred(int width, int height, const ScreenRect& area) {
    if (width <= 0 || height <= 0 || area.empty()) return {area.x, area.y, 0, 0};
    int fitWidth = area.width;
    int fitHeight = scaled(height, area.width, width);
    if (fitHeight > area.height) {
        fitHeight = area.height;
        fitWidth = std::min(area.width, scaled(width, area.height, height));
    }
    fitWidth = std::max(fitWidth, 1);
    fitHeight = std::max(fitHeight, 1);
    return {area.x + (area.width - fitWidth) / 2, area.y + (area.height - fitHeight) / 2, fitWidth, fitHeight};
}

std::vector<ScreenRect> barsAround(const ScreenRect& area, const ScreenRect& inner) {
    const int innerBottom = inner.y + inner.height;
    const int areaBottom = area.y + area.height;
    const ScreenRect candidates[] = {
        {area.x, area.y, area.width, inner.y - area.y},
        {area.x, innerBottom, area.width, areaBottom - innerBottom},
        {area.x, inner.y, inner.x - area.x, inner.height},
        {inner.x + inner.width, inner.y, area.x + area.width - (inner.x + inner.width), inner.height},
    };
    std::vector<ScreenRect> bars;
    for (const ScreenRect& bar : candidates) {
        if (!bar.empty()) bars.push_back(bar);
    }
    return bars;
}

}  // namespace lw
