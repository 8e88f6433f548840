// Frames drawn band by band: the same pixels for any band height and any number of threads, on
// the scene and the gallery; the pool that draws the bands; a window closed while they draw.
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

// Draws the frame's sprite list again with the given bands and threads.
std::vector<std::uint32_t> redrawn(int bandRows, int threads) {
    setBandRows(bandRows);
    startBandPool(threads);
    enterSmallFrame();
    drawFrameBands();
    return surfacePixels();
}

// Every band height and thread count against the list drawn as one band on one thread.
void expectSameFrameForAnyBands(const char* what) {
    const std::vector<std::uint32_t> oneBand = redrawn(1 << 20, 1);
    for (const int threads : {1, 2, 3, 8}) {
        for (const int rows : {1, 7, 0}) {
            EXPECT_TRUE(redrawn(rows, threads) == oneBand) << what << ": " << threads << " threads, band rows " << rows;
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
        headless::setScreenSize(width, height);
        headless::setTickCount(3);
        setFrameSize(kScreenSize, 1024);
        backgroundColour = 0xFFA08CF0;
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

TEST_F(FrameBandsTest, LwThreadsSetsTheThreadCountAndAnythingElseMeansEveryCore) {
    const int everyCore = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (auto [value, expected] : {std::pair{"3", 3}, {"100000", 64}, {"0", everyCore}, {"-2", everyCore}, {"4x", everyCore}}) {
        setenv("LW_THREADS", value, 1);
        EXPECT_EQ(wantedThreadCount(), expected) << "LW_THREADS=" << value;
    }
    unsetenv("LW_THREADS");
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
    EXPECT_EQ(bandPoolThreads(), 3);  // the scene never reached its own teardown
    test::tearDownScene();
    EXPECT_EQ(bandPoolThreads(), 1);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

}  // namespace lw
