// The main thread's side of the frame's buffers: a lane of two for each output's surface, made at
// the frame's size, made anew when the frame changes size, gone with its output; and showing what
// the worker handed over.
#include <algorithm>

#include "host/wayland/wayland_host.h"

namespace lw::wayland {

namespace {

constexpr int kBuffersPerLane = 2;

Frames& frames() { return state().frames; }

bool outputExists(std::uint32_t name) {
    const auto& outputs = state().display.outputs;
    return std::any_of(outputs.begin(), outputs.end(), [name](const auto& output) { return output->name == name; });
}

Lane* laneOf(Frames& f, std::uint32_t outputName) {
    for (const auto& lane : f.lanes) {
        if (lane->outputName == outputName && !lane->retired) return lane.get();
    }
    return nullptr;
}

// Lock held. False when the buffers cannot be had.
bool makeLaneBuffers(Frames& f, Lane& lane) {
    const bool made = makeBufferSet(lane.set, f.wantedWidth, f.wantedHeight, kBuffersPerLane);
    lane.owners.assign(lane.set.buffers.size(), BufferOwner::Free);
    lane.holds.assign(lane.set.buffers.size(), 0);
    lane.front = lane.lent = lane.handed = -1;
    f.changed.notify_all();
    return made;
}

// Lock held: lanes for surfaces that have none, buffers of the frame's size, and no lane for an
// output that has gone, once the worker holds none of its buffers. False when buffers for the
// frame cannot be had.
bool tendLanes(Frames& f) {
    for (const auto& output : state().display.outputs) {
        if (!output->shown || !output->shown->laidOut || laneOf(f, output->name) != nullptr) continue;
        auto lane = std::make_unique<Lane>();
        lane->outputName = output->name;
        f.lanes.push_back(std::move(lane));
    }
    for (const auto& lane : f.lanes) lane->retired = lane->retired || !outputExists(lane->outputName);
    std::erase_if(f.lanes, [](const auto& lane) {
        if (!lane->retired || lane->lent >= 0) return false;
        destroyBufferSet(lane->set);
        return true;
    });
    for (const auto& lane : f.lanes) {
        const bool fits = lane->set.width == f.wantedWidth && lane->set.height == f.wantedHeight;
        // The worker asks for another size only while it holds no buffer.
        if (fits || lane->retired || lane->lent >= 0 || f.wantedWidth <= 0) continue;
        if (!makeLaneBuffers(f, *lane)) return false;
    }
    return true;
}

}  // namespace

void tendSurfaces() {
    showOnEveryOutput();
    Frames& f = frames();
    int width = 0;
    int height = 0;
    {
        std::lock_guard lock(f.mutex);
        width = f.wantedWidth;
        height = f.wantedHeight;
    }
    layOutSurfaces(width, height);
    bool kept = false;
    {
        std::lock_guard lock(f.mutex);
        kept = tendLanes(f);
    }
    if (!kept) closeWindow();
}

void showHandedBuffers() {
    struct Shown {
        Lane* lane;
        int index;
        wl_buffer* buffer;
    };
    std::vector<Shown> handed;
    Frames& f = frames();
    {
        std::lock_guard lock(f.mutex);
        for (const auto& lane : f.lanes) {
            if (lane->handed < 0) continue;
            handed.push_back({lane.get(), lane->handed, lane->set.buffers[static_cast<std::size_t>(lane->handed)]});
            lane->handed = -1;
        }
    }
    // Only the main thread changes a Handed buffer's owner, or removes a lane.
    for (Shown& shown : handed) {
        const bool taken = !shown.lane->retired && showBufferOn(shown.lane->outputName, shown.buffer);
        std::lock_guard lock(f.mutex);
        shown.lane->owners[static_cast<std::size_t>(shown.index)] = taken ? BufferOwner::Compositor : BufferOwner::Free;
        shown.lane->front = shown.index;
        f.changed.notify_all();
    }
}

void showFirstBuffers() {
    Frames& f = frames();
    {
        std::lock_guard lock(f.mutex);
        for (const auto& lane : f.lanes) {
            if (lane->set.buffers.empty() || lane->handed >= 0) continue;
            lane->owners[0] = BufferOwner::Handed;
            lane->handed = 0;
        }
    }
    showHandedBuffers();
}

void onBufferReleased(wl_buffer* buffer) {
    Frames& f = frames();
    std::lock_guard lock(f.mutex);
    for (const auto& lane : f.lanes) {
        const auto it = std::find(lane->set.buffers.begin(), lane->set.buffers.end(), buffer);
        if (it == lane->set.buffers.end()) continue;
        BufferOwner& owner = lane->owners[static_cast<std::size_t>(it - lane->set.buffers.begin())];
        if (owner == BufferOwner::Compositor) owner = BufferOwner::Free;
        f.changed.notify_all();
        return;
    }
}

void forgetLanes() {
    Frames& f = frames();
    std::lock_guard lock(f.mutex);
    for (const auto& lane : f.lanes) destroyBufferSet(lane->set);
    f.lanes.clear();
    f.drawing.clear();
}

}  // namespace lw::wayland
