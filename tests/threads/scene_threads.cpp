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
#include <random>
#include <thread>

#include "../scene_on_worker.h"
#include "sprites/band_pool.h"
#include "sprites/frame_bands.h"

namespace {

using namespace std::chrono_literals;

// Keys of the scene's controls and some it ignores; never Esc, which would end the run early.
constexpr int kKeys[] = {lw::vk::Up, lw::vk::Down, lw::vk::Left, lw::vk::Right, lw::vk::Space,
                         lw::vk::Shift, lw::vk::LetterA, lw::vk::F1, 0x5B /* not in the key table */};
constexpr lw::MouseButton kButtons[] = {lw::MouseButton::Left, lw::MouseButton::Middle, lw::MouseButton::Right};

// One key, button, wheel turn, mouse move or timer tick.
void injectOne(std::mt19937& random) {
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    switch (pick(5)) {
        case 0: {
            const int key = kKeys[pick(std::size(kKeys))];
            pick(2) == 0 ? lw::recordKeyPress(key) : lw::recordKeyRelease(key);
            break;
        }
        case 1: {
            const auto button = kButtons[pick(3)];
            pick(2) == 0 ? lw::recordButtonPress(button) : lw::recordButtonRelease(button);
            break;
        }
        case 2:
            lw::recordWheel((pick(2) == 0 ? 120 : -120) * 65536);
            break;
        case 3:
            lw::recordMouseMove(pick(2000) - 500, pick(2000) - 500);
            break;
        default: {
            // Timer 0 hides the controls strip; the others are user timers nobody started, and ids
            // outside the user range must be ignored. The redraw timer is left out: only a host
            // that shows a still picture starts it.
            const int id = pick(3) == 0 ? lw::kUserTimerBase : pick(2) == 0 ? lw::kUserTimerBase + pick(256) : pick(4000);
            if (id != lw::kRedrawTimerId) lw::onTimerTick(id);
            break;
        }
    }
}

// Presses and releases Esc until the worker has ended: a release recorded while the worker clears
// the frame's input is lost, as it would be on a real window.
bool endWithEscape() {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (lw::headless::workerRunning()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        lw::recordKeyPress(lw::vk::Escape);
        lw::recordKeyRelease(lw::vk::Escape);
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    lw::test::SceneRunOptions options{2000, 96, 72, 1};
    int bandRows = 0;  // 0: as the program chooses
    if (!lw::test::readRunnerArguments(argc, argv, options, "--band-rows", bandRows) || bandRows < 0) {
        std::fprintf(stderr, "usage: lw_threads [--frames N] [--size WxH] [--seed S] [--band-rows N]\n");
        return 2;
    }
    std::mt19937 random(options.seed);
    int events = 0;
    lw::setBandRows(bandRows);
    // Frames 0: the worker never ends the run itself; Esc comes from this thread.
    if (!lw::test::startSceneOnWorker({0, options.width, options.height, options.seed})) return 1;
    const auto& framesDone = lw::test::sceneworker::framesDone;
    while (framesDone.load(std::memory_order_relaxed) < options.frames && lw::headless::workerRunning()) {
        injectOne(random);
        events += 1;
        // The bands draw in the frame or, while the window alone reads their rows, in the window
        // or in rows of their own.
        if (random() % 16 == 0) lw::headless::setWindowOnly(random() % 3 != 0, random() % 2 == 0);
        // Now and then a burst without pause, else a short random wait, so events land at every
        // point of the worker's frame without this thread taking a core of its own.
        if (random() % 4 != 0) std::this_thread::sleep_for(std::chrono::microseconds(random() % 400));
    }
    const bool ended = endWithEscape();
    const int frames = lw::test::finishSceneOnWorker();
    const auto boxes = lw::headless::messageBoxes().size();
    const bool byEscape = lw::peek(lw::processEnded) == 1 && lw::headless::closeRequested();
    std::printf("threads: %d frames at %dx%d, bands on %d threads; from the main thread %d keys, buttons, wheel "
                "turns, moves and timer ticks; %zu messages\n",
                frames, options.width, options.height, lw::wantedThreadCount(), events, boxes);
    for (const auto& box : lw::headless::messageBoxes()) std::printf("threads: message \"%ls\"\n", box.text.c_str());
    lw::test::tearDownScene();
    const bool sound = ended && byEscape && frames >= options.frames && boxes == 0;
    std::printf("threads: %s\n", sound ? "sound" : "FAILED");
    return sound ? 0 : 1;
}
