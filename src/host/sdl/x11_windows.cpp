// Direct questions to the X server about windows that other programs own. SDL asks no such
// question before it uses a window, and Xlib's default answer to a wrong id is to end the process.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

#include "host/sdl/sdl_host.h"

namespace lw::sdl {

namespace {

// Never ends the process. Errors about the window we draw into mean it has gone (its owner
// destroyed it); any other error is one request that did nothing.
int onXError(Display*, XErrorEvent* error) {
    const bool aboutWindow = error->error_code == BadWindow || error->error_code == BadDrawable;
    WatchedWindow& watched = state().watched;
    const unsigned long window = watched.window.load();
    if (aboutWindow && window != 0 && error->resourceid == window) watched.gone.store(true);
    return 0;
}

// Xlib calls this when the connection to the X server breaks (the server ended, or the session
// with it) and ends the process if it returns. Its own way is exit(), whose destructors wait on a
// worker that waits for a frame to be shown: the process would hang for good, unseen, on a
// display that no longer exists. Nothing can be shown any more, so the run ends here, as when its
// window is closed.
[[noreturn]] int onXConnectionLost(Display*) {
    std::fprintf(stderr, "lumenwaltz: the connection to the X display is gone\n");
    std::fflush(nullptr);
    std::_Exit(0);
}

}  // namespace

bool windowSize(unsigned long window, int& width, int& height) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    auto* previous = XSetErrorHandler(onXError);
    XWindowAttributes attributes;
    const bool exists = XGetWindowAttributes(display, window, &attributes) != 0;
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    if (exists) {
        width = attributes.width;
        height = attributes.height;
    }
    return exists;
}

bool windowExists(unsigned long window) {
    int width = 0;
    int height = 0;
    return windowSize(window, width, height);
}

unsigned long rootWindow() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 0;
    const unsigned long root = DefaultRootWindow(display);
    XCloseDisplay(display);
    return root;
}

void watchWindow(unsigned long window) {
    state().watched.window.store(window);
    state().watched.gone.store(false);
    XSetErrorHandler(onXError);
    XSetIOErrorHandler(onXConnectionLost);
}

bool watchedWindowGone() { return state().watched.gone.load(); }

}  // namespace lw::sdl
