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
    if (!state().close.take()) return;
    closeWindow();
    state().close.markHandled();
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
    state().close.askAndWait(
        [] {
            wakeMainThread();
            return true;
        },
        isClosing);
}

}  // namespace host

}  // namespace lw::wayland
