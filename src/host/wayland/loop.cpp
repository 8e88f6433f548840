// The main thread's loop: the compositor's events, the other threads' wake-ups, SIGTERM and
// SIGINT, and the timers, all in one poll.
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>

#include "host/process.h"
#include "host/wayland/wayland_host.h"

namespace lw::wayland {

namespace {

enum Watched { kCompositor, kWake, kSignal, kWatchedCount };

std::uint32_t nowMs() { return host::milliseconds(); }

int earliest(int a, int b) {
    if (a < 0) return b;
    if (b < 0) return a;
    return a < b ? a : b;
}

void drain(int fd, std::size_t size) {
    alignas(8) char scratch[sizeof(signalfd_siginfo)];
    while (read(fd, scratch, size) > 0) {
    }
}

// What the other threads and the compositor asked for since the last round.
void catchUp() {
    tendSurfaces();
    showHandedBuffers();
    handleCloseRequest();
}

// Reads and dispatches what the compositor sent, waiting at most timeoutMs for it and for the
// other descriptors. False when the connection has failed.
bool dispatch(pollfd* watched, int count, int timeoutMs) {
    wl_display* display = state().display.globals.display;
    while (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0) return false;
    }
    watched[kCompositor].events = POLLIN;
    if (wl_display_flush(display) < 0) {
        if (errno != EAGAIN) {
            wl_display_cancel_read(display);
            return false;
        }
        watched[kCompositor].events |= POLLOUT;
    }
    const int ready = poll(watched, static_cast<nfds_t>(count), timeoutMs);
    const bool readable = ready > 0 && (watched[kCompositor].revents & POLLIN) != 0;
    if (readable) {
        if (wl_display_read_events(display) < 0) return false;
    } else {
        wl_display_cancel_read(display);
    }
    if (ready > 0 && (watched[kCompositor].revents & (POLLERR | POLLHUP)) != 0 && !readable) return false;
    return wl_display_dispatch_pending(display) >= 0;
}

}  // namespace

void catchSignals() {
    sigset_t endings;
    sigemptyset(&endings);
    sigaddset(&endings, SIGTERM);
    sigaddset(&endings, SIGINT);
    // Blocked before any thread starts, so every thread inherits it and the loop alone hears them.
    pthread_sigmask(SIG_BLOCK, &endings, nullptr);
    state().display.signalFd = signalfd(-1, &endings, SFD_CLOEXEC | SFD_NONBLOCK);
}

bool waitForCompositor(int timeoutMs) {
    pollfd watched[1] = {{wl_display_get_fd(state().display.globals.display), POLLIN, 0}};
    return dispatch(watched, 1, timeoutMs);
}

void closeWindow() {
    onCloseRequest();
    beginClosing();
}

void runEventLoop() {
    Display& shown = state().display;
    pollfd watched[kWatchedCount] = {{wl_display_get_fd(shown.globals.display), POLLIN, 0},
                                     {shown.wakeFd, POLLIN, 0},
                                     {shown.signalFd, POLLIN, 0}};
    while (!isClosing()) {
        const std::uint32_t now = nowMs();
        const int timeout = earliest(tickTimers(now), repeatKeys(now));
        if (!dispatch(watched, kWatchedCount, timeout)) {
            report("the connection to the Wayland compositor is gone");
            closeWindow();
            return;
        }
        if ((watched[kWake].revents & POLLIN) != 0) drain(shown.wakeFd, sizeof(std::uint64_t));
        catchUp();
        if ((watched[kSignal].revents & POLLIN) != 0) {
            drain(shown.signalFd, sizeof(signalfd_siginfo));
            closeWindow();
        }
    }
}

}  // namespace lw::wayland
