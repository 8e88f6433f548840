// The outputs the compositor announces, what each says of its pixels, and their coming and going.
// The frame takes the first output's own pixels; every output gets a surface of its own.
#include <algorithm>

#include "host/output_pixels.h"

#include "host/wayland/wayland_host.h"

namespace lw::wayland {

namespace {

std::vector<std::unique_ptr<Output>>& outputs() { return state().display.outputs; }

Output& outputOf(void* data) { return *static_cast<Output*>(data); }

void geometry(void* data, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
              const char*, const char*, std::int32_t transform) {
    outputOf(data).transform = transform;
}

void mode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height, std::int32_t) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
    outputOf(data).modeWidth = width;
    outputOf(data).modeHeight = height;
}

// A change of mode, scale or turn: the surface is laid out again at its next configure; the
// compositor sends one when the output's logical size changes.
void done(void* data, wl_output*) {
    Output& output = outputOf(data);
    if (output.shown) output.shown->laidOut = false;
}

void scale(void* data, wl_output*, std::int32_t factor) { outputOf(data).scale = std::max(1, factor); }

void name(void*, wl_output*, const char*) {}
void description(void*, wl_output*, const char*) {}

const wl_output_listener kOutputListener{geometry, mode, done, scale, name, description};

bool turnedSideways(int transform) {
    return transform == WL_OUTPUT_TRANSFORM_90 || transform == WL_OUTPUT_TRANSFORM_270 ||
           transform == WL_OUTPUT_TRANSFORM_FLIPPED_90 || transform == WL_OUTPUT_TRANSFORM_FLIPPED_270;
}

}  // namespace

void addOutput(std::uint32_t name, std::uint32_t version) {
    auto output = std::make_unique<Output>();
    output->name = name;
    output->version = std::min<std::uint32_t>(version, 3);
    output->output = static_cast<wl_output*>(
        wl_registry_bind(state().display.globals.registry, name, &wl_output_interface, output->version));
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    if (state().display.primaryName == 0) state().display.primaryName = name;
    outputs().push_back(std::move(output));
}

void removeOutput(std::uint32_t name) {
    auto& all = outputs();
    const auto it = std::find_if(all.begin(), all.end(), [name](const auto& output) { return output->name == name; });
    if (it == all.end()) return;
    Output& output = **it;
    if (output.shown) destroySurface(*output.shown);
    if (output.version >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(output.output);
    } else {
        wl_output_destroy(output.output);
    }
    all.erase(it);
}

void forgetOutputs() {
    while (!outputs().empty()) removeOutput(outputs().back()->name);
}

Output* primaryOutput() {
    for (const auto& output : outputs()) {
        if (output->name == state().display.primaryName) return output.get();
    }
    return nullptr;
}

// Where no mode is told (a nested compositor may not), the surface's logical size counts.
bool outputPixelSize(const Output& output, int& width, int& height) {
    OutputReport report{output.modeWidth, output.modeHeight, turnedSideways(output.transform), output.scale};
    if (const OutputSurface* shown = output.shown.get()) {
        report.scale120 = shown->preferredScale120;
        report.logicalWidth = shown->logicalWidth;
        report.logicalHeight = shown->logicalHeight;
    }
    return outputPixels(report, width, height);
}

}  // namespace lw::wayland
