// A full-screen surface on each output. On the output whose pixels the frame has, the frame's
// buffer is the surface's content, shown pixel for pixel (the compositor is told the logical
// size, so a scale of 2 or 1.5 does not double the frame). On any other output the surface shows
// the background colour and a subsurface the same buffer scaled to fit, aspect kept, centred:
// the compositor scales it, so another output costs no drawing here.
#include <algorithm>
#include <climits>

#include "host/host_config.h"
#include "host/linux/utf8.h"
#include "host/monitor_layout.h"
#include "host/wayland/wayland_host.h"
#include "raster/frame_buffer.h"

namespace lw::wayland {

namespace {

Display& display() { return state().display; }
Globals& globals() { return state().display.globals; }

OutputSurface& surfaceOf(void* data) { return *static_cast<OutputSurface*>(data); }

void toplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*) {
    surfaceOf(data).pendingWidth = width;
    surfaceOf(data).pendingHeight = height;
}

// The compositor asks the window to close: as a user closing it.
void toplevelClose(void*, xdg_toplevel*) { closeWindow(); }

// Of later versions of xdg_wm_base than the one bound: never sent.
void configureBounds(void*, xdg_toplevel*, std::int32_t, std::int32_t) {}
void capabilities(void*, xdg_toplevel*, wl_array*) {}

const xdg_toplevel_listener kToplevelListener{toplevelConfigure, toplevelClose, configureBounds, capabilities};

void surfaceConfigure(void* data, xdg_surface* shellSurface, std::uint32_t serial) {
    OutputSurface& shown = surfaceOf(data);
    xdg_surface_ack_configure(shellSurface, serial);
    if (shown.pendingWidth != shown.logicalWidth || shown.pendingHeight != shown.logicalHeight || !shown.configured) {
        shown.laidOut = false;
    }
    shown.logicalWidth = shown.pendingWidth;
    shown.logicalHeight = shown.pendingHeight;
    shown.configured = true;
    // The compositor waits for a commit after each configure; one that changes nothing gets it
    // here, one that changes the size with the new layout.
    if (shown.laidOut) wl_surface_commit(shown.surface);
}

const xdg_surface_listener kShellSurfaceListener{surfaceConfigure};

void preferredScale(void* data, wp_fractional_scale_v1*, std::uint32_t scale120) {
    surfaceOf(data).preferredScale120 = scale120;
    surfaceOf(data).laidOut = false;
}

const wp_fractional_scale_v1_listener kFractionalListener{preferredScale};

void frameDone(void* data, wl_callback* callback, std::uint32_t) {
    wl_callback_destroy(callback);
    surfaceOf(data).frameCallback = nullptr;
    onFrameWanted();
}

const wl_callback_listener kFrameListener{frameDone};

void makeSurface(Output& output) {
    auto shown = std::make_unique<OutputSurface>();
    OutputSurface* s = shown.get();
    s->surface = wl_compositor_create_surface(globals().compositor);
    s->frameSurface = s->surface;
    if (globals().viewporter != nullptr) s->viewport = wp_viewporter_get_viewport(globals().viewporter, s->surface);
    if (globals().fractionalScale != nullptr) {
        s->fractional = wp_fractional_scale_manager_v1_get_fractional_scale(globals().fractionalScale, s->surface);
        wp_fractional_scale_v1_add_listener(s->fractional, &kFractionalListener, s);
    }
    s->shellSurface = xdg_wm_base_get_xdg_surface(globals().wmBase, s->surface);
    xdg_surface_add_listener(s->shellSurface, &kShellSurfaceListener, s);
    s->toplevel = xdg_surface_get_toplevel(s->shellSurface);
    xdg_toplevel_add_listener(s->toplevel, &kToplevelListener, s);
    xdg_toplevel_set_app_id(s->toplevel, "lumenwaltz");
    xdg_toplevel_set_fullscreen(s->toplevel, output.output);
    wl_surface_commit(s->surface);
    output.shown = std::move(shown);
}

void dropSubsurface(OutputSurface& s) {
    if (s.subsurface == nullptr) return;
    if (s.frameCallback != nullptr) wl_callback_destroy(s.frameCallback);
    s.frameCallback = nullptr;
    wp_viewport_destroy(s.frameViewport);
    wl_subsurface_destroy(s.subsurface);
    wl_surface_destroy(s.frameSurface);
    s.frameViewport = nullptr;
    s.subsurface = nullptr;
    s.frameSurface = s.surface;
    // The surface shows the frame itself again; its own frame callbacks go on from the next frame.
}

bool makeSubsurface(OutputSurface& s) {
    if (s.subsurface != nullptr) return true;
    if (globals().subcompositor == nullptr || globals().viewporter == nullptr) return false;
    if (s.frameCallback != nullptr) wl_callback_destroy(s.frameCallback);
    s.frameCallback = nullptr;
    s.frameSurface = wl_compositor_create_surface(globals().compositor);
    s.subsurface = wl_subcompositor_get_subsurface(globals().subcompositor, s.frameSurface, s.surface);
    wl_subsurface_set_desync(s.subsurface);
    s.frameViewport = wp_viewporter_get_viewport(globals().viewporter, s.frameSurface);
    return true;
}

// One pixel of the background colour, made once, stretched over a whole output by its viewport.
wl_buffer* backgroundPixel() {
    BufferSet& pixel = display().background;
    if (pixel.buffers.empty()) {
        if (!makeBufferSet(pixel, 1, 1, 1)) return nullptr;
        pixel.memory[0] = backgroundColour;
    }
    return pixel.buffers.front();
}

// The frame fills this output: it has the output's own pixels.
void showFrameItself(OutputSurface& s, const Output& output) {
    dropSubsurface(s);
    if (s.viewport != nullptr) {
        wp_viewport_set_destination(s.viewport, s.logicalWidth, s.logicalHeight);
    } else {
        wl_surface_set_buffer_scale(s.surface, output.scale);
    }
    s.frameX = s.frameY = 0;
    s.frameLogicalWidth = s.logicalWidth;
    s.frameLogicalHeight = s.logicalHeight;
}

void showFrameScaled(OutputSurface& s, int frameWidth, int frameHeight) {
    wl_buffer* pixel = backgroundPixel();
    if (!makeSubsurface(s) || pixel == nullptr) {
        // The compositor cannot scale: the frame as it is, where the compositor puts it.
        showFrameItself(s, Output{});
        return;
    }
    wl_surface_attach(s.surface, pixel, 0, 0);
    wl_surface_damage_buffer(s.surface, 0, 0, INT32_MAX, INT32_MAX);
    wp_viewport_set_destination(s.viewport, s.logicalWidth, s.logicalHeight);
    const ScreenRect place = fitCentred(frameWidth, frameHeight, {0, 0, s.logicalWidth, s.logicalHeight});
    wl_subsurface_set_position(s.subsurface, place.x, place.y);
    wp_viewport_set_destination(s.frameViewport, std::max(place.width, 1), std::max(place.height, 1));
    s.frameX = place.x;
    s.frameY = place.y;
    s.frameLogicalWidth = place.width;
    s.frameLogicalHeight = place.height;
}

void layOut(Output& output, int frameWidth, int frameHeight) {
    OutputSurface& s = *output.shown;
    if (!s.titled) {
        xdg_toplevel_set_title(s.toplevel, linuxhost::toUtf8(hostConfig.windowClassName).c_str());
        s.titled = true;
    }
    // A compositor that leaves the size to us: the output's own.
    int pixelWidth = 0;
    int pixelHeight = 0;
    const bool sized = outputPixelSize(output, pixelWidth, pixelHeight);
    if (s.logicalWidth <= 0 || s.logicalHeight <= 0) {
        s.logicalWidth = sized ? pixelWidth / output.scale : frameWidth;
        s.logicalHeight = sized ? pixelHeight / output.scale : frameHeight;
    }
    if (sized && pixelWidth == frameWidth && pixelHeight == frameHeight) {
        showFrameItself(s, output);
    } else {
        showFrameScaled(s, frameWidth, frameHeight);
    }
    wl_surface_commit(s.surface);
    s.laidOut = true;
    // A surface new or changed wants a frame, whatever the others' frame callbacks say.
    onFrameWanted();
}

}  // namespace

void showOnEveryOutput() {
    for (const auto& output : display().outputs) {
        if (!output->shown) makeSurface(*output);
    }
}

void layOutSurfaces(int frameWidth, int frameHeight) {
    if (frameWidth <= 0 || frameHeight <= 0) return;
    Display& shown = display();
    // Another frame size: every surface is laid out for it.
    const bool resized = frameWidth != shown.layoutWidth || frameHeight != shown.layoutHeight;
    shown.layoutWidth = frameWidth;
    shown.layoutHeight = frameHeight;
    for (const auto& output : shown.outputs) {
        if (!output->shown || !output->shown->configured) continue;
        if (resized || !output->shown->laidOut) layOut(*output, frameWidth, frameHeight);
    }
}

bool showBufferOn(std::uint32_t outputName, wl_buffer* buffer) {
    for (const auto& output : display().outputs) {
        OutputSurface* s = output->shown.get();
        if (output->name != outputName || s == nullptr || !s->configured || !s->laidOut) continue;
        wl_surface_attach(s->frameSurface, buffer, 0, 0);
        wl_surface_damage_buffer(s->frameSurface, 0, 0, INT32_MAX, INT32_MAX);
        if (s->frameCallback == nullptr) {
            s->frameCallback = wl_surface_frame(s->frameSurface);
            wl_callback_add_listener(s->frameCallback, &kFrameListener, s);
        }
        wl_surface_commit(s->frameSurface);
        return true;
    }
    return false;
}

void destroySurface(OutputSurface& s) {
    dropSubsurface(s);
    if (s.frameCallback != nullptr) wl_callback_destroy(s.frameCallback);
    if (s.fractional != nullptr) wp_fractional_scale_v1_destroy(s.fractional);
    if (s.viewport != nullptr) wp_viewport_destroy(s.viewport);
    xdg_toplevel_destroy(s.toplevel);
    xdg_surface_destroy(s.shellSurface);
    if (display().pointer.over == s.surface) display().pointer.over = nullptr;
    wl_surface_destroy(s.surface);
}

const OutputSurface* surfaceShowing(const wl_surface* surface, const Output** output) {
    for (const auto& candidate : display().outputs) {
        const OutputSurface* s = candidate->shown.get();
        if (s != nullptr && (s->surface == surface || s->frameSurface == surface)) {
            if (output != nullptr) *output = candidate.get();
            return s;
        }
    }
    return nullptr;
}

}  // namespace lw::wayland
