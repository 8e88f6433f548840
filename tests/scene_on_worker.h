// Runs the program's real process on the headless host's worker, as the record mode does: the
// overlays and the scene, paced frames on the simulated clock, ended by a released Esc. Shared by
// the failure tests, the soak and the thread-sanitizer run, so all of them exercise the same path.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "app/app_config.h"
#include "host/headless/headless.h"
#include "host/input.h"
#include "host/process.h"
#include "overlay/overlays.h"
#include "overlay/resource_image.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"
#include "sprites/styles.h"

namespace lw::test {

namespace sceneworker {
// Written by the worker (in its frame listener), read by whoever waits for it.
inline std::atomic<int> framesDone{0};
// Set before the worker starts; 0: the listener never ends the run itself.
inline int framesWanted = 0;
// Called by the listener on the worker after each counted frame; may be null.
inline void (*onFrame)(int frame) = nullptr;

inline void countFrame(std::span<const std::uint32_t>, int, int) {
    const int frame = framesDone.fetch_add(1, std::memory_order_relaxed) + 1;
    if (onFrame != nullptr) onFrame(frame);
    // Read by the scene's controls at the end of this very frame.
    if (frame == framesWanted) {
        recordKeyPress(vk::Escape);
        recordKeyRelease(vk::Escape);
    }
}
}  // namespace sceneworker

struct SceneRunOptions {
    int frames = 3;  // 0: run until someone else releases Esc
    int width = 160;
    int height = 120;
    std::uint32_t seed = 1;
};

// Reads a runner's "--frames N", "--size WxH", "--seed S" and one option of its own, extraName,
// whose number goes to extra; false on anything else or on a size or count it cannot run.
inline bool readRunnerArguments(int argc, char** argv, SceneRunOptions& run, const char* extraName, int& extra) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--frames") {
            run.frames = std::atoi(value);
        } else if (option == "--seed") {
            run.seed = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
        } else if (option == extraName) {
            extra = std::atoi(value);
        } else if (option != "--size" || std::sscanf(value, "%dx%d", &run.width, &run.height) != 2) {
            return false;
        }
    }
    return argc % 2 == 1 && run.frames >= 1 && run.width >= 16 && run.height >= 16 && run.width <= 4096 &&
           run.height <= 4096;
}

// The program's configuration on a screen of the given size; the caller has reset the host.
inline void configureScene(const SceneRunOptions& options) {
    headless::setScreenSize(options.width, options.height);
    headless::setTickCount(options.seed);
    applyAppConfig();
}

// Starts the worker and returns at once; finishSceneOnWorker waits for it.
inline bool startSceneOnWorker(const SceneRunOptions& options) {
    configureScene(options);
    sceneworker::framesDone.store(0, std::memory_order_relaxed);
    sceneworker::framesWanted = options.frames;
    headless::setFrameListener(sceneworker::countFrame);
    return startProcessThread();
}

// Waits for the worker; returns the frames it showed.
inline int finishSceneOnWorker() {
    headless::joinWorker();
    headless::setFrameListener(nullptr);
    return sceneworker::framesDone.load(std::memory_order_relaxed);
}

inline int runSceneOnWorker(const SceneRunOptions& options) {
    if (!startSceneOnWorker(options)) return -1;
    return finishSceneOnWorker();
}

// The scene's own teardown, for a run that a fatal error cut short: whatever the engine's globals
// still hold goes back, so a leak checker sees only what the program lost on the way.
inline void tearDownScene() {
    releaseSpriteTables();
    removeOverlays();
    releaseImage();
    resetSpriteSetup();
}

}  // namespace lw::test
