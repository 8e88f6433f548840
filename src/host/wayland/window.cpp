// The screen's size, messages, the cursor and the worker's synchronous close request.
#include <cstdio>

#include "host/linux/utf8.h"
#include "host/platform.h"
#include "host/wayland/wayland_host.h"

namespace lw::wayland {

namespace {
constexpr int kIdOk = 1;
}  // namespace

void handleCloseRequest() {
    CloseHandshake& close = state().close;
    {
        std::lock_guard lock(close.mutex);
        if (!close.asked) return;
        close.asked = false;
    }
    closeWindow();
    std::lock_guard lock(close.mutex);
    close.handled = true;
    close.done.notify_all();
}

void wakeCloseWaiter() {
    CloseHandshake& close = state().close;
    std::lock_guard lock(close.mutex);
    close.done.notify_all();
}

namespace host {

int screenWidth() { return state().display.screenWidth; }

int screenHeight() { return state().display.screenHeight; }

// Wayland has no message box of its own: the message goes to standard error, where a session's
// log keeps it.
int messageBox(const wchar_t* text, const wchar_t* caption, unsigned) {
    const std::string message = linuxhost::toUtf8(text != nullptr ? text : L"");
    const std::string title = linuxhost::toUtf8(caption != nullptr ? caption : L"");
    std::fprintf(stderr, "lumenwaltz: %s: %s\n", title.c_str(), message.c_str());
    return kIdOk;
}

// Taken on the pointer's next entry into one of the surfaces, and at once where it is over one.
void showCursor(bool visible) {
    Display& shown = state().display;
    shown.cursorHidden = !visible;
    if (onWorkerThread()) return;
    for (const Seat& seat : shown.seats) {
        if (seat.pointer != nullptr && shown.pointer.over != nullptr) hideCursorOn(seat.pointer, shown.pointer.enterSerial);
    }
}

void requestClose() {
    if (!onWorkerThread()) {
        closeWindow();
        return;
    }
    CloseHandshake& close = state().close;
    std::unique_lock lock(close.mutex);
    close.asked = true;
    close.handled = false;
    wakeMainThread();
    // A main thread that is closing anyway will not answer; then there is nothing to wait for.
    close.done.wait(lock, [&close] { return close.handled || isClosing(); });
}

}  // namespace host

}  // namespace lw::wayland
