// Direct questions to the X server about windows that other programs own. SDL asks no such
// question before it uses a window, and Xlib's default answer to a wrong id is to end the process.
#include <X11/Xlib.h>

#include <atomic>

#include "host/sdl/sdl_host.h"

namespace lw::sdl {

namespace {

std::atomic<unsigned long> watched{0};
std::atomic<bool> watchedGone{false};

// Never ends the process. Errors about the window we draw into mean it has gone (its owner
// destroyed it); any other error is one request that did nothing.
int onXError(Display*, XErrorEvent* error) {
    const bool aboutWindow = error->error_code == BadWindow || error->error_code == BadDrawable;
    const unsigned long window = watched.load();
    if (aboutWindow && window != 0 && error->resourceid == window) watchedGone.store(true);
    return 0;
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
    watched.store(window);
    watchedGone.store(false);
    XSetErrorHandler(onXError);
}

bool watchedWindowGone() { return watchedGone.load(); }

}  // namespace lw::sdl
