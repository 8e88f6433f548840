// Where the frame goes on a desktop of several monitors. The frame has the primary monitor's
// size and shows there pixel for pixel; every other monitor shows it scaled to fit, its aspect
// kept, centred, with bars of the background colour beside it. Rectangles are in the desktop's
// coordinates (the primary monitor's top left is usually 0, 0; others may lie left of or above
// it). No window system type appears here: both desktop hosts lay out their screens with it.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace lw {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const ScreenRect&) const = default;
};

bool intersects(const ScreenRect& a, const ScreenRect& b);

struct MonitorLayout {
    // The smallest rectangle that covers every monitor: the one window that spans them all.
    ScreenRect window;
    // One per monitor, in the order given: where the frame is shown on it. Empty for a monitor
    // that overlaps the primary one: such a monitor mirrors part of it, and a picture of its own
    // would be drawn over the primary's.
    std::vector<ScreenRect> destinations;
};

// The monitors' rectangles and the index of the primary one among them. With one monitor the
// window is that monitor and the frame fills it. Monitors without area show nothing.
MonitorLayout layOutMonitors(std::span<const ScreenRect> monitors, std::size_t primary);

// The largest rectangle of width:height (rounded to whole pixels) that fits into area, centred.
ScreenRect fitCentred(int width, int height, const ScreenRect& area);

// The parts of area that inner leaves uncovered, as at most four rectangles (above, below, left,
// right). Inner must lie within area.
std::vector<ScreenRect> barsAround(const ScreenRect& area, const ScreenRect& inner);

}  // namespace lw
