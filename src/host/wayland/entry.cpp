// The entry of the desktop program on Wayland: the mode, the surfaces, the event loop and the end
// of the run. It never runs without a picture: when no surface can be had, it says why on
// standard error and ends.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/host_config.h"
#include "host/linux/start_mode.h"
#include "host/linux/utf8.h"
#include "host/platform.h"
#include "host/process.h"
#include "host/wayland/wayland_host.h"
#include "host/wayland/wayland_program.h"
#include "raster/frame_buffer.h"

namespace lw::wayland {

namespace {

// Long enough for a frame to reach its next sleep or buffer; short enough that a program told to
// end is gone within a second.
constexpr std::uint32_t kStopGraceMs = 500;
// How long the compositor may take to show the first surface.
constexpr int kConfigureMs = 5000;

void showHelp() {
    std::fprintf(stderr, "%s\n", linuxhost::toUtf8(hostConfig.helpText).c_str());
}

// The first output's surface configured, and so the size the frame takes as the screen's.
bool readScreenSize() {
    Display& shown = state().display;
    const std::uint32_t deadline = host::milliseconds() + kConfigureMs;
    for (;;) {
        Output* primary = primaryOutput();
        if (primary == nullptr) {
            report("the compositor has no output to show the frame on");
            return false;
        }
        if (primary->shown && primary->shown->configured &&
            outputPixelSize(*primary, shown.screenWidth, shown.screenHeight)) {
            return true;
        }
        const auto left = static_cast<std::int32_t>(deadline - host::milliseconds());
        if (left <= 0) {
            report("the compositor did not show the full-screen surface within %d s", kConfigureMs / 1000);
            return false;
        }
        if (!waitForCompositor(left)) {
            report("the Wayland compositor closed the connection");
            return false;
        }
    }
}

// Buffers of the frame's size for every surface; false when none could be had.
bool makeFrameBuffers() {
    Frames& frames = state().frames;
    {
        std::lock_guard lock(frames.mutex);
        frames.wantedWidth = frameWidth;
        frames.wantedHeight = frameHeight;
    }
    tendSurfaces();
    return !isClosing();
}

void runFull(void (*configure)()) {
    if (!connectToCompositor()) return;
    showOnEveryOutput();
    if (!readScreenSize()) return;
    configure();
    if (!makeFrameBuffers()) return;
    showFirstBuffers();
    if (!startProcessThread()) {
        report("cannot start the animation's thread");
        return;
    }
    platform::showCursor(hostConfig.showCursor != 0);
    runEventLoop();
}

void finish() {
    beginClosing();
    // Gone from the screen at once, as a destroyed window is; the buffers stay until the worker,
    // which may be drawing into one, has ended.
    forgetOutputs();
    if (state().display.globals.display != nullptr) wl_display_flush(state().display.globals.display);
    // A worker that does not come to a stop point in time goes with the process.
    if (!awaitWorker(kStopGraceMs)) {
        std::fflush(nullptr);
        std::_Exit(0);
    }
    forgetLanes();
    disconnect();
}

}  // namespace

int runProgram(const std::vector<std::string>& arguments, void (*configure)()) {
    resetState();
    linuxhost::useHost(waylandHostTable);
    const linuxhost::LinuxStart start = linuxhost::decideStart(arguments, nullptr);
    if (start.decision.mode == StartMode::Quit) return 0;
    if (start.decision.mode == StartMode::Help) {
        showHelp();
        return 0;
    }
    catchSignals();
    runFull(configure);
    finish();
    return 0;
}

}  // namespace lw::wayland
