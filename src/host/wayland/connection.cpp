// The connection to the compositor and the globals it offers. Outputs and seats may come and go
// while the program runs; the others are bound once.
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "host/wayland/wayland_host.h"

namespace lw::wayland {

namespace {

Globals& globals() { return state().display.globals; }

template <typename T>
T* bind(wl_registry* registry, std::uint32_t name, const wl_interface* interface, std::uint32_t offered,
        std::uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

void pong(void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener kWmBaseListener{pong};

void announced(void*, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    Globals& g = globals();
    const std::string_view kind = interface;
    if (kind == wl_compositor_interface.name) {
        g.compositor = bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
    } else if (kind == wl_subcompositor_interface.name) {
        g.subcompositor = bind<wl_subcompositor>(registry, name, &wl_subcompositor_interface, version, 1);
    } else if (kind == wl_shm_interface.name) {
        g.shm = bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    } else if (kind == xdg_wm_base_interface.name) {
        g.wmBase = bind<xdg_wm_base>(registry, name, &xdg_wm_base_interface, version, 1);
        xdg_wm_base_add_listener(g.wmBase, &kWmBaseListener, nullptr);
    } else if (kind == wp_viewporter_interface.name) {
        g.viewporter = bind<wp_viewporter>(registry, name, &wp_viewporter_interface, version, 1);
    } else if (kind == wp_fractional_scale_manager_v1_interface.name) {
        g.fractionalScale = bind<wp_fractional_scale_manager_v1>(registry, name,
                                                                  &wp_fractional_scale_manager_v1_interface, version, 1);
    } else if (kind == wl_output_interface.name) {
        addOutput(name, version);
    } else if (kind == wl_seat_interface.name) {
        addSeat(name, version);
    }
}

void withdrawn(void*, wl_registry*, std::uint32_t name) {
    removeOutput(name);
    removeSeat(name);
}

const wl_registry_listener kRegistryListener{announced, withdrawn};

// The globals without which no picture can be shown.
bool haveNeededGlobals() {
    const Globals& g = globals();
    const char* missing = g.compositor == nullptr ? "wl_compositor"
                          : g.shm == nullptr      ? "wl_shm"
                          : g.wmBase == nullptr   ? "xdg_wm_base"
                                                  : nullptr;
    if (missing != nullptr) report("the compositor offers no %s: nothing can be shown", missing);
    return missing == nullptr;
}

}  // namespace

void report(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("lumenwaltz: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
    va_end(arguments);
}

bool connectToCompositor() {
    Display& shown = state().display;
    shown.globals.display = wl_display_connect(nullptr);
    if (shown.globals.display == nullptr) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        report("cannot connect to the Wayland compositor (WAYLAND_DISPLAY=%s): %s", name != nullptr ? name : "",
               std::strerror(errno));
        return false;
    }
    shown.wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    shown.globals.registry = wl_display_get_registry(shown.globals.display);
    wl_registry_add_listener(shown.globals.registry, &kRegistryListener, nullptr);
    // The globals, then what the outputs and seats say of themselves.
    if (wl_display_roundtrip(shown.globals.display) < 0 || wl_display_roundtrip(shown.globals.display) < 0) {
        report("the Wayland compositor closed the connection");
        return false;
    }
    return shown.wakeFd >= 0 && haveNeededGlobals();
}

void disconnect() {
    Display& shown = state().display;
    releaseInput();
    forgetOutputs();
    destroyBufferSet(shown.background);
    Globals& g = shown.globals;
    if (g.display != nullptr) {
        if (g.fractionalScale != nullptr) wp_fractional_scale_manager_v1_destroy(g.fractionalScale);
        if (g.viewporter != nullptr) wp_viewporter_destroy(g.viewporter);
        if (g.wmBase != nullptr) xdg_wm_base_destroy(g.wmBase);
        if (g.shm != nullptr) wl_shm_destroy(g.shm);
        if (g.subcompositor != nullptr) wl_subcompositor_destroy(g.subcompositor);
        if (g.compositor != nullptr) wl_compositor_destroy(g.compositor);
        if (g.registry != nullptr) wl_registry_destroy(g.registry);
        wl_display_flush(g.display);
        wl_display_disconnect(g.display);
    }
    g = Globals{};
    if (shown.wakeFd >= 0) close(shown.wakeFd);
    if (shown.signalFd >= 0) close(shown.signalFd);
    shown.wakeFd = shown.signalFd = -1;
}

void wakeMainThread() {
    const int fd = state().display.wakeFd;
    if (fd < 0) return;
    const std::uint64_t one = 1;
    // A full counter already wakes the main thread; nothing is lost then.
    [[maybe_unused]] const ssize_t written = write(fd, &one, sizeof one);
}

}  // namespace lw::wayland
