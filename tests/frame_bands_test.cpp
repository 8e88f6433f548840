// Frames drawn band by band: the same pixels for any band height and any number of threads, on
// the scene and the gallery, and each band's rows copied to the window whole, also when the bands
// draw them in rows of their own; the pool that
// draws the bands; a window closed while they draw.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

#include "overlay/overlays.h"
#include "raster/frame_buffer.h"
#include "raster/small_frame.h"
#include "scene/gallery.h"
#include "scene/scene.h"
#include "scene_on_worker.h"
#include "sprites/band_pool.h"
#include "sprites/frame_bands.h"
#include "test_support.h"

namespace lw {

namespace {

// The whole surface, margins included, as the last frame left it.
std::vector<std::uint32_t> surfacePixels() {
    const std::uint32_t* bits = surfaceBits();
    return {bits, bits + static_cast<std::size_t>(frameWidth) * frameHeight};
}

// Rows of the view that the window does not show as the surface holds them (bottom-up).
int rowsUnlikeTheWindow() {
    const std::uint32_t* shown = headless::windowPixels().data();
    const std::uint32_t* drawn = surfaceBits();
    const auto width = static_cast<std::size_t>(frameWidth);
    int unlike = 0;
    for (int y = marginY; y < frameHeight - marginY; ++y) {
        const std::uint32_t* row = drawn + static_cast<std::size_t>(frameHeight - 1 - y) * width + marginX;
        if (!std::equal(row, row + viewWidth, shown + static_cast<std::size_t>(y) * width + marginX)) ++unlike;
    }
    return unlike;
}

// Draws the frame's sprite list again with the given bands and threads, and presents it: the
// bands copy their own rows to the window, which must then show the view exactly.
std::vector<std::uint32_t> redrawn(int bandRows, int threads) {
    setBandRows(bandRows);
    startBandPool(threads);
    enterSmallFrame();
    drawAndPresentFrame();
    EXPECT_EQ(rowsUnlikeTheWindow(), 0) << threads << " threads, band rows " << bandRows;
    return surfacePixels();
}

// The same where the window alone reads the rows, so that the bands may draw them straight into
// it or in rows of their own; the window is what the frame left. A frame of another background
// goes first, so that rows the bands left out would show.
std::vector<std::uint32_t> windowAfterRedrawingForItAlone(int bandRows, int threads, bool drawInWindow) {
    const Colour background = backgroundColour;
    backgroundColour = background ^ 0xFFFFFFu;
    redrawn(bandRows, threads);
    backgroundColour = background;
    headless::setWindowOnly(true, drawInWindow);
    enterSmallFrame();
    drawAndPresentFrame();
    headless::setWindowOnly(false);
    const auto shown = headless::windowPixels();
    return {shown.begin(), shown.end()};
}

// Every band height and thread count against the list drawn as one band on one thread.
void expectSameFrameForAnyBands(const char* what) {
    const std::vector<std::uint32_t> oneBand = redrawn(1 << 20, 1);
    const auto window = headless::windowPixels();
    const std::vector<std::uint32_t> oneBandShown(window.begin(), window.end());
    for (const int threads : {1, 2, 3, 8}) {
        for (const int rows : {1, 7, 0}) {
            EXPECT_TRUE(redrawn(rows, threads) == oneBand) << what << ": " << threads << " threads, band rows " << rows;
            for (const bool inWindow : {true, false}) {
                EXPECT_TRUE(windowAfterRedrawingForItAlone(rows, threads, inWindow) == oneBandShown)
                    << what << " (the window alone, " << (inWindow ? "drawn in it" : "copied to it") << "): " << threads
                    << " threads, band rows " << rows;
            }
        }
    }
}

class FrameBandsTest : public test::HostTest {
protected:
    void TearDown() override {
        test::tearDownScene();
        HostTest::TearDown();
    }
    static void setUpScene(int width, int height) {
        test::configureScene({0, width, height, 3});
        installOverlays();
        sceneSetUp();
    }
};

}  // namespace

TEST_F(FrameBandsTest, SceneFramesAreTheSameForAnyBandHeightAndThreadCount) {
    setUpScene(1280, 720);
    for (int frame = 1; frame <= 3; ++frame) {
        ASSERT_EQ(sceneFrame(), 1);
        expectSameFrameForAnyBands("1280x720");
    }
    releaseSpriteTables();
    removeOverlays();
    // An odd size, with a margin, and at half resolution, whose doubling is cut into bands too.
    setUpScene(333, 207);
    setViewport(5, 3);
    for (int frame = 1; frame <= 2; ++frame) {
        smallFrameWanted = frame == 2;
        ASSERT_EQ(sceneFrame(), 1);
        expectSameFrameForAnyBands(frame == 2 ? "333x207 half size" : "333x207");
    }
}

TEST_F(FrameBandsTest, TheGalleryIsTheSameForAnyBandHeightAndThreadCount) {
    headless::setScreenSize(400, 420);
    drawGallery(400, 420);
    expectSameFrameForAnyBands("gallery");
    releaseGallery();
}

TEST_F(FrameBandsTest, ThePoolDrawsEveryBandOnceWithAnyNumberOfThreads) {
    static std::atomic<int> drawn[300];
    const BandJob count = [](const void* context, int band) {
        drawn[band].fetch_add(*static_cast<const int*>(context), std::memory_order_relaxed);
    };
    for (const int threads : {1, 2, 5}) {
        startBandPool(threads);
        EXPECT_EQ(bandPoolThreads(), threads);
        for (const int bands : {0, 1, 2, 299}) {
            for (auto& d : drawn) d.store(0);
            const int weight = 3;  // the context reaches every band
            for (int frame = 0; frame < 20; ++frame) runBands(bands, count, &weight);
            for (int b = 0; b < 300; ++b) ASSERT_EQ(drawn[b].load(), b < bands ? 60 : 0) << threads << " threads";
        }
    }
    stopBandPool();
    EXPECT_EQ(bandPoolThreads(), 1);
}

// Closing the window stops the worker at its next frame handover, wherever the bands are; the
// scene's teardown then joins the pool and frees every block.
TEST_F(FrameBandsTest, AWindowClosedWhileBandsDrawEndsCleanly) {
    setenv("LW_THREADS", "3", 1);
    setBandRows(2);
    ASSERT_TRUE(test::startSceneOnWorker({0, 320, 240, 5}));
    while (test::sceneworker::framesDone.load() < 5) std::this_thread::yield();
    headless::closeWindow();
    test::finishSceneOnWorker();
    unsetenv("LW_THREADS");
    EXPECT_FALSE(headless::workerRunning());
    EXPECT_EQ(peek(threadStopped), 1);
    EXPECT_EQ(peek(processEnded), 0) << "terminated, not ended";
    EXPECT_EQ(bandPoolThreads(), 3);  // the scene never reached its own teardown
    test::tearDownScene();
    EXPECT_EQ(bandPoolThreads(), 1);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

}  // namespace lw
