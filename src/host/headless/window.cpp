#include <cwctype>

#include "host/headless/state.h"
#include "host/headless/host.h"
#include "host/process.h"

namespace lw::headless::host {

using detail::state;

int screenWidth() {
    std::lock_guard lock(state().mutex);
    return state().screenWidth;
}

int screenHeight() {
    std::lock_guard lock(state().mutex);
    return state().screenHeight;
}

int messageBox(const wchar_t* text, const wchar_t* caption, unsigned style) {
    std::lock_guard lock(state().mutex);
    state().boxes.push_back({text ? text : L"", caption ? caption : L"", style});
    return 1;  // IDOK: the box was "closed" at once
}

void showCursor(bool visible) {
    std::lock_guard lock(state().mutex);
    state().cursorVisible = visible;
}

void requestClose() {
    // The window's close handling runs synchronously, as a sent WM_CLOSE would.
    onCloseRequest();
    state().closeRequested.store(true);
}

}  // namespace lw::headless::host

namespace lw::headless {

namespace detail {

HostState& state() {
    static HostState host;
    return host;
}

std::wstring upperCase(const std::wstring& text) {
    std::wstring upper = text;
    for (auto& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return upper;
}

}  // namespace detail

void setScreenSize(int width, int height) {
    std::lock_guard lock(detail::state().mutex);
    detail::state().screenWidth = width;
    detail::state().screenHeight = height;
}

std::vector<RecordedBox> messageBoxes() {
    std::lock_guard lock(detail::state().mutex);
    return detail::state().boxes;
}

bool closeRequested() { return detail::state().closeRequested.load(); }

bool cursorVisible() {
    std::lock_guard lock(detail::state().mutex);
    return detail::state().cursorVisible;
}

void closeWindow() { host::requestClose(); }

void reset() {
    joinWorker();
    auto& host = detail::state();
    std::lock_guard lock(host.mutex);
    host.nowMs.store(0);
    host.tickCount.store(0);
    host.realClock.store(false);
    host.totalSlept = 0;
    host.lastSleep = 0;
    host.screenWidth = 1024;
    host.screenHeight = 768;
    host.boxes.clear();
    host.closeRequested.store(false);
    host.cursorVisible = true;
    host.stopRequested.store(false);
    host.timers.clear();
    host.surface.clear();
    host.surfaceWidth = host.surfaceHeight = 0;
    host.window.clear();
    host.presents = 0;
    host.windowOnly.store(false, std::memory_order_relaxed);
    host.drawInWindow.store(true, std::memory_order_relaxed);
    host.frameListener = nullptr;
    host.presentedSinceSleep = false;
    host.resourceOverrides.clear();
    host.decoderRunning = false;
    host.decoderStartFails = false;
    host.decoderStarts = 0;
    host.decoderStops = 0;
}

}  // namespace lw::headless
