// The program's threads at work together, for ThreadSanitizer: the headless worker runs the
// real scene, with the band pool (LW_THREADS) drawing its bands, while this (main) thread records
// keys, buttons, wheel turns and mouse moves and delivers timer ticks at random moments, as a
// window procedure would; a released Esc ends it.
//
//   lw_threads [--frames N] [--size WxH] [--seed S] [--band-rows N]
//
// Exits 0 when the scene showed its frames, ended through Esc and showed no message.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

#include "../scene_on_worker.h"
#include "sprites/band_pool.h"
#include "sprites/frame_bands.h"

namespace {

using namespace std::chrono_literals;

struct Options {
    int bandRows = 0;  // 0: as the program chooses
    int frames = 2000;
    int width = 96;
    int height = 72;
    unsigned seed = 1;
};

struct Injected {
    int keys = 0;
    int buttons = 0;
    int wheels = 0;
    int moves = 0;
    int ticks = 0;
    int escapes = 0;
};

// Keys of the scene's controls and some it ignores; never Esc, which would end the run early.
constexpr int kKeys[] = {lw::vk::Up, lw::vk::Down, lw::vk::Left, lw::vk::Right, lw::vk::Space,
                         lw::vk::Shift, lw::vk::LetterA, lw::vk::F1, 0x5B /* not in the key table */};
constexpr lw::MouseButton kButtons[] = {lw::MouseButton::Left, lw::MouseButton::Middle, lw::MouseButton::Right};

void injectOne(std::mt19937& random, Injected& injected) {
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    switch (pick(5)) {
        case 0: {
            const int key = kKeys[pick(std::size(kKeys))];
            pick(2) == 0 ? lw::recordKeyPress(key) : lw::recordKeyRelease(key);
            injected.keys += 1;
            break;
        }
        case 1: {
            const auto button = kButtons[pick(3)];
            pick(2) == 0 ? lw::recordButtonPress(button) : lw::recordButtonRelease(button);
            injected.buttons += 1;
            break;
        }
        case 2:
            lw::recordWheel((pick(2) == 0 ? 120 : -120) * 65536);
            injected.wheels += 1;
            break;
        case 3:
            lw::recordMouseMove(pick(2000) - 500, pick(2000) - 500);
            injected.moves += 1;
            break;
        default: {
            // Timer 0 hides the controls strip; the others are user timers nobody started, and ids
            // outside the user range must be ignored. The redraw timer is left out: only a host
            // that shows a still picture starts it.
            const int id = pick(3) == 0 ? lw::kUserTimerBase : pick(2) == 0 ? lw::kUserTimerBase + pick(256) : pick(4000);
            if (id != lw::kRedrawTimerId) lw::onTimerTick(id);
            injected.ticks += 1;
            break;
        }
    }
}

bool parseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--frames") {
            options.frames = std::atoi(argv[i + 1]);
        } else if (option == "--band-rows") {
            options.bandRows = std::atoi(argv[i + 1]);
        } else if (option == "--seed") {
            options.seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        } else if (option != "--size" || std::sscanf(argv[i + 1], "%dx%d", &options.width, &options.height) != 2) {
            return false;
        }
    }
    return argc % 2 == 1 && options.frames >= 1 && options.width >= 16 && options.height >= 16 && options.bandRows >= 0;
}

// Presses and releases Esc until the worker has ended: a release recorded while the worker clears
// the frame's input is lost, as it would be on a real window.
bool endWithEscape(Injected& injected) {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (lw::headless::workerRunning()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        lw::recordKeyPress(lw::vk::Escape);
        lw::recordKeyRelease(lw::vk::Escape);
        injected.escapes += 1;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseArguments(argc, argv, options)) {
        std::fprintf(stderr, "usage: lw_threads [--frames N] [--size WxH] [--seed S] [--band-rows N]\n");
        return 2;
    }
    std::mt19937 random(options.seed);
    Injected injected;
    lw::setBandRows(options.bandRows);
    // Frames 0: the worker never ends the run itself; Esc comes from this thread.
    if (!lw::test::startSceneOnWorker({0, options.width, options.height, options.seed})) return 1;
    const auto& framesDone = lw::test::sceneworker::framesDone;
    while (framesDone.load(std::memory_order_relaxed) < options.frames && lw::headless::workerRunning()) {
        injectOne(random, injected);
        // Now and then a burst without pause, else a short random wait, so events land at every
        // point of the worker's frame without this thread taking a core of its own.
        if (random() % 4 != 0) std::this_thread::sleep_for(std::chrono::microseconds(random() % 400));
    }
    const bool ended = endWithEscape(injected);
    const int frames = lw::test::finishSceneOnWorker();
    const auto boxes = lw::headless::messageBoxes().size();
    const bool byEscape = lw::peek(lw::processEnded) == 1 && lw::headless::closeRequested();
    std::printf("threads: %d frames at %dx%d, bands on %d threads; from the main thread %d keys, %d buttons, %d wheel turns, %d moves, "
                "%d timer ticks; %d Esc releases until the end; %zu messages\n",
                frames, options.width, options.height, lw::wantedThreadCount(), injected.keys, injected.buttons, injected.wheels,
                injected.moves, injected.ticks, injected.escapes, boxes);
    for (const auto& box : lw::headless::messageBoxes()) std::printf("threads: message \"%ls\"\n", box.text.c_str());
    lw::test::tearDownScene();
    const bool sound = ended && byEscape && frames >= options.frames && boxes == 0;
    std::printf("threads: %s\n", sound ? "sound" : "FAILED");
    return sound ? 0 : 1;
}
