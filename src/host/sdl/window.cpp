// The screen's size, message boxes, the cursor and the synchronous close request.
#include <cstdio>

#include "host/linux/utf8.h"
#include "host/platform.h"
#include "host/sdl/sdl_host.h"

namespace lw::sdl {

namespace {

constexpr unsigned kIconMask = 0xF0;  // MB_ICON* bits of a Win32 style
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kIconInformation = 0x40;
constexpr int kIdOk = 1;

Uint32 boxFlags(unsigned style) {
    switch (style & kIconMask) {
        case platform::kIconError: return SDL_MESSAGEBOX_ERROR;
        case kIconWarning: return SDL_MESSAGEBOX_WARNING;
        case kIconInformation: return SDL_MESSAGEBOX_INFORMATION;
        default: return 0;
    }
}

}  // namespace

namespace host {

int screenWidth() { return state().window.screenWidth; }

int screenHeight() { return state().window.screenHeight; }

int messageBox(const wchar_t* text, const wchar_t* caption, unsigned style) {
    const std::string message = linuxhost::toUtf8(text != nullptr ? text : L"");
    const std::string title = linuxhost::toUtf8(caption != nullptr ? caption : L"");
    // Standard error keeps the message where nobody can answer a box: a hack runs behind
    // XScreenSaver's own window, so there it shows no box at all.
    std::fprintf(stderr, "lumenwaltz: %s: %s\n", title.c_str(), message.c_str());
    const WindowState& shown = state().window;
    if (!shown.hackMode) SDL_ShowSimpleMessageBox(boxFlags(style), title.c_str(), message.c_str(), shown.hostWindow);
    return kIdOk;
}

void showCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

void requestClose() {
    SDL_Event event{};
    event.type = state().events.close;
    if (!onWorkerThread()) {
        // On the main thread the request is handled here, as a sent message would be.
        dispatchEvent(event);
        return;
    }
    state().close.askAndWait([&event] { return SDL_PushEvent(&event) == 1; }, isClosing);
}

}  // namespace host

}  // namespace lw::sdl
