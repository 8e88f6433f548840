#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "host/monitor_layout.h"

namespace lw {
namespace {

struct LayoutCase {
    const char* name;
    std::vector<ScreenRect> monitors;
    std::size_t primary;
    ScreenRect window;
    std::vector<ScreenRect> destinations;
};

TEST(MonitorLayoutTest, WorkedDesktops) {
    const std::vector<LayoutCase> cases = {
        {"one monitor: the window and the frame are the screen", {{0, 0, 1920, 1080}}, 0, {0, 0, 1920, 1080},
         {{0, 0, 1920, 1080}}},
        {"side by side, the second one taller in aspect", {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}}, 0,
         {0, 0, 3200, 1080}, {{0, 0, 1920, 1080}, {1920, 152, 1280, 720}}},
        {"stacked, a wider one below", {{0, 0, 1024, 768}, {0, 768, 1920, 1200}}, 0, {0, 0, 1920, 1968},
         {{0, 0, 1024, 768}, {160, 768, 1600, 1200}}},
        {"a portrait monitor left of the primary", {{-1080, 0, 1080, 1920}, {0, 0, 2560, 1440}}, 1,
         {-1080, 0, 3640, 1920}, {{-1080, 656, 1080, 608}, {0, 0, 2560, 1440}}},
        {"a smaller one above, the aspect off by a fraction", {{0, 0, 1920, 1080}, {0, -768, 1366, 768}}, 0,
         {0, -768, 1920, 1848}, {{0, 0, 1920, 1080}, {0, -768, 1366, 768}}},
        {"a mirror at the primary's origin shows no picture of its own", {{0, 0, 1024, 768}, {0, 0, 800, 600}}, 0,
         {0, 0, 1024, 768}, {{0, 0, 1024, 768}, {}}},
    };
    for (const LayoutCase& c : cases) {
        const MonitorLayout layout = layOutMonitors(c.monitors, c.primary);
        EXPECT_EQ(layout.window, c.window) << c.name;
        EXPECT_EQ(layout.destinations, c.destinations) << c.name;
    }
}

bool inside(const ScreenRect& inner, const ScreenRect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// Every size against every other, placed on each side of the primary with an offset along it.
TEST(MonitorLayoutTest, EveryPictureFitsItsMonitorKeepsTheAspectAndIsCentred) {
    const ScreenRect sizes[] = {{0, 0, 1920, 1080}, {0, 0, 1280, 1024}, {0, 0, 1080, 1920},
                                {0, 0, 3840, 2160}, {0, 0, 800, 600},   {0, 0, 1366, 768}};
    for (const ScreenRect& p : sizes) {
        for (const ScreenRect& s : sizes) {
            const ScreenRect primary = {0, 0, p.width, p.height};
            const std::vector<ScreenRect> others = {{-s.width, 100, s.width, s.height},
                                                    {p.width, -50, s.width, s.height},
                                                    {30, -s.height, s.width, s.height},
                                                    {-200, p.height, s.width, s.height}};
            std::vector<ScreenRect> monitors = others;
            monitors.insert(monitors.begin() + 2, primary);
            const MonitorLayout layout = layOutMonitors(monitors, 2);
            ASSERT_EQ(layout.destinations.size(), monitors.size());
            EXPECT_EQ(layout.destinations[2], primary);
            for (std::size_t i = 0; i < monitors.size(); ++i) {
                const ScreenRect& d = layout.destinations[i];
                const ScreenRect& m = monitors[i];
                EXPECT_TRUE(inside(m, layout.window));
                EXPECT_TRUE(inside(d, m));
                if (i == 2) continue;
                EXPECT_FALSE(intersects(d, primary));
                // Fills the monitor in one direction, keeps p's aspect to within a pixel.
                EXPECT_TRUE(d.width == m.width || d.height == m.height);
                EXPECT_LE(std::abs(std::int64_t{d.height} * p.width - std::int64_t{d.width} * p.height),
                          std::max(p.width, p.height));
                const int leftBar = d.x - m.x;
                const int rightBar = m.x + m.width - (d.x + d.width);
                const int topBar = d.y - m.y;
                const int bottomBar = m.y + m.height - (d.y + d.height);
                EXPECT_LE(std::abs(leftBar - rightBar), 1);
                EXPECT_LE(std::abs(topBar - bottomBar), 1);
                std::int64_t covered = std::int64_t{d.width} * d.height;
                for (const ScreenRect& bar : barsAround(m, d)) {
                    EXPECT_TRUE(inside(bar, m));
                    EXPECT_FALSE(intersects(bar, d));
                    covered += std::int64_t{bar.width} * bar.height;
                }
                EXPECT_EQ(covered, std::int64_t{m.width} * m.height);
            }
        }
    }
}

}  // namespace
}  // namespace lw
