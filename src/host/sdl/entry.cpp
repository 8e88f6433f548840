// The entry of the desktop program: the mode decision, the window of each mode, the event loop
// and the end of the run.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/host_config.h"
#include "host/linux/start_mode.h"
#include "host/linux/utf8.h"
#include "host/platform.h"
#include "host/process.h"
#include "host/sdl/sdl_host.h"
#include "host/sdl/sdl_program.h"
#include "raster/frame_buffer.h"

namespace lw::sdl {

namespace {

// Long enough for a frame to reach its next sleep or handover; short enough that a program
// told to end is gone within a second.
constexpr std::uint32_t kStopGraceMs = 500;
// How often a borrowed window is looked after while no event comes.
constexpr int kWatchPeriodMs = 1000;

void report(const char* what) { std::fprintf(stderr, "lumenwaltz: %s: %s\n", what, SDL_GetError()); }

void showHelp() {
    const std::string text = linuxhost::toUtf8(hostConfig.helpText);
    const std::string caption = linuxhost::toUtf8(hostConfig.helpCaption);
    std::fprintf(stderr, "%s\n", text.c_str());
    // Without a display the box cannot open; the text is on standard error all the same.
    SDL_ShowSimpleMessageBox(0, caption.c_str(), text.c_str(), nullptr);
}

bool readDisplaySize() {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        report("no display size");
        return false;
    }
    state().window.screenWidth = mode.w;
    state().window.screenHeight = mode.h;
    return true;
}

// Creates the windows once the configuration has set the frame's size.
bool createFullWindows() {
    const std::string title = linuxhost::toUtf8(hostConfig.windowClassName);
    WindowState& shown = state().window;
    if (!openFrameWindows(title.c_str()) || shown.frameWindows.empty()) {
        report("cannot open the window");
        return false;
    }
    shown.hostWindow = shown.frameWindows.front().window;
    return true;
}

bool borrowWindow(unsigned long window) {
    if (!windowExists(window)) return false;
    watchWindow(window);
    WindowState& shown = state().window;
    shown.hostWindow = SDL_CreateWindowFrom(reinterpret_cast<const void*>(window));
    if (shown.hostWindow == nullptr) {
        report("cannot draw into the window");
        return false;
    }
    shown.borrowedWindow = window;
    SDL_GetWindowSize(shown.hostWindow, &shown.screenWidth, &shown.screenHeight);
    return shown.screenWidth > 0 && shown.screenHeight > 0;
}

// A borrowed window can go without an event: its owner destroys it. Then the run ends as if
// the window had been closed. Nor does SDL hear of it when the owner resizes the window: SDL is
// told, so the window's surface is made anew at the new size and the frame fits it again.
bool borrowedWindowGone(Uint32& nextLook) {
    const unsigned long borrowedWindow = state().window.borrowedWindow;
    if (borrowedWindow == 0) return false;
    if (watchedWindowGone()) return true;
    const Uint32 now = SDL_GetTicks();
    if (!SDL_TICKS_PASSED(now, nextLook)) return false;
    nextLook = now + kWatchPeriodMs;
    int width = 0;
    int height = 0;
    if (!windowSize(borrowedWindow, width, height)) return true;
    int knownWidth = 0;
    int knownHeight = 0;
    SDL_Window* hostWindow = state().window.hostWindow;
    SDL_GetWindowSize(hostWindow, &knownWidth, &knownHeight);
    if (width != knownWidth || height != knownHeight) SDL_SetWindowSize(hostWindow, width, height);
    return false;
}

void runEventLoop() {
    SDL_Event event;
    Uint32 nextLook = SDL_GetTicks() + kWatchPeriodMs;
    const unsigned long borrowedWindow = state().window.borrowedWindow;
    for (;;) {
        const bool got = borrowedWindow != 0 ? SDL_WaitEventTimeout(&event, kWatchPeriodMs) == 1
                                             : SDL_WaitEvent(&event) == 1;
        if (got && !dispatchEvent(event)) return;
        if (!got && borrowedWindow == 0) return;  // the queue failed: nothing can come any more
        if (borrowedWindowGone(nextLook)) {
            event.type = SDL_QUIT;
            dispatchEvent(event);
            return;
        }
    }
}

void runFull(void (*configure)()) {
    watchWindow(0);
    if (!readDisplaySize()) return;
    configure();
    if (!createFullWindows()) return;
    // Without the window's pixels nothing would ever show: that is said, not run unseen.
    if (SDL_GetWindowSurface(state().window.hostWindow) == nullptr) {
        report("cannot draw into the window");
        return;
    }
    repaint();
    if (!startProcessThread()) return;
    platform::showCursor(hostConfig.showCursor != 0);
    runEventLoop();
}

// Runs until killed: the cursor and the keyboard are XScreenSaver's business.
void runHack(unsigned long window, void (*configure)()) {
    state().window.hackMode = true;
    hostConfig.userControls = false;
    const unsigned long target = window != 0 ? window : rootWindow();
    if (target == 0 || !borrowWindow(target)) {
        std::fprintf(stderr, "lumenwaltz: no window 0x%lx to draw into\n", target);
        return;
    }
    configure();
    showFrameIn(state().window.hostWindow);
    repaint();
    if (!startProcessThread()) return;
    runEventLoop();
}

// A handle that names no window ends the program silently, as on Windows.
void runPreview(std::intptr_t parent) {
    state().window.previewMode = 1;
    if (parent <= 0 || !borrowWindow(static_cast<unsigned long>(parent))) return;
    paintPreview();
    runEventLoop();
}

void finish() {
    beginClosing();
    // A worker that does not come to a stop point in time (a long computation, or a message box
    // nobody answers) goes with the process, as TerminateThread would end it.
    if (!awaitWorker(kStopGraceMs)) {
        std::fflush(nullptr);
        std::_Exit(0);
    }
    removeAllTimers();
    // The preview's window is the only one that shows no frame. SDL leaves a borrowed window
    // to its owner.
    WindowState& shown = state().window;
    if (shown.frameWindows.empty() && shown.hostWindow != nullptr) SDL_DestroyWindow(shown.hostWindow);
    closeFrameWindows();
    shown.hostWindow = nullptr;
    SDL_Quit();
}

}  // namespace

int runProgram(const std::vector<std::string>& arguments, void (*configure)()) {
    resetState();
    linuxhost::useHost(sdlHostTable);
    const linuxhost::LinuxStart start = linuxhost::decideStart(arguments, std::getenv("XSCREENSAVER_WINDOW"));
    if (!start.error.empty()) {
        std::fprintf(stderr, "lumenwaltz: %s\n", start.error.c_str());
        return 0;
    }
    if (!start.hack && start.decision.mode == StartMode::Quit) return 0;
    if (!start.hack && start.decision.mode == StartMode::Help) {
        showHelp();
        return 0;
    }
    // Window surfaces as plain memory the X server reads (through shared memory where it can),
    // not textures drawn through OpenGL, which machines without a GPU emulate in software.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // This host is X's: it asks X about windows itself, and SDL's Wayland driver gives it no
    // window surface. SDL_VIDEODRIVER=wayland, which some sessions set, must not send it there.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        report("cannot start SDL");
        return 0;
    }
    if (registerEventTypes()) {
        if (start.hack) {
            runHack(start.window, configure);
        } else if (start.decision.mode == StartMode::Preview) {
            runPreview(start.decision.previewParent);
        } else {
            runFull(configure);
        }
    }
    finish();
    return 0;
}

}  // namespace lw::sdl
