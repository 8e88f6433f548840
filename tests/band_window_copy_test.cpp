// The bands copy their own rows to the window as they finish: after every frame the window must
// show exactly the frame, whatever the threads, the band height, the margins or the half-size
// frame.
#include <algorithm>
#include <cstddef>

#include "scene_on_worker.h"
#include "sprites/band_pool.h"
#include "test_support.h"

namespace lw {

using BandWindowCopyTest = test::HostTest;

namespace {

struct Case {
    int threads;
    int bandRows;  // 0: as the program chooses
    int margin;
    int smallFrame;
};

// Rows of the window's view that differ from the frame's (stored bottom-up), after each of three
// frames. Only the view is shown each frame; its margins were shown once, after setViewport.
int rowsUnlikeTheFrame(const Case& c) {
    test::configureScene({0, 333, 207, 3});
    sceneSetUp();
    startBandPool(c.threads);
    setBandRows(c.bandRows);
    if (c.margin > 0) setViewport(c.margin);
    smallFrameWanted = c.smallFrame;
    int unlike = 0;
    for (int frame = 0; frame < 3; ++frame) {
        if (sceneFrame() != 1) return -1;
        const auto window = headless::windowPixels();
        const auto surface = headless::surfacePixels();
        const auto width = static_cast<std::size_t>(frameWidth);
        for (int y = marginY; y < frameHeight - marginY; ++y) {
            const std::uint32_t* shown = window.data() + static_cast<std::size_t>(y) * width + marginX;
            const std::uint32_t* drawn = surface.data() + static_cast<std::size_t>(frameHeight - 1 - y) * width + marginX;
            if (!std::equal(shown, shown + viewWidth, drawn)) ++unlike;
        }
    }
    return unlike;
}

}  // namespace

TEST_F(BandWindowCopyTest, TheWindowShowsEveryFrameWhole) {
    const Case cases[] = {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 1, 0, 0}, {2, 7, 0, 0},
                          {2, 7, 11, 0}, {3, 0, 0, 1}, {2, 7, 9, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(rowsUnlikeTheFrame(c), 0) << c.threads << " threads, bands of " << c.bandRows << " rows, margin "
                                            << c.margin << ", half-size frame " << c.smallFrame;
        resetAll();
    }
}

}  // namespace lw
