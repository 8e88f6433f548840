// Screen size, message boxes, the cursor and the synchronous close request.
#include "host/platform.h"
#include "host/win32/win32_host.h"

namespace lw::platform {

int screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

int messageBox(const wchar_t* text, const wchar_t* caption, unsigned style) {
    return MessageBoxW(win32::state().window.hostWindow, text, caption, style);
}

void showCursor(bool visible) { ShowCursor(visible ? TRUE : FALSE); }

void requestClose() { SendMessageW(win32::state().window.hostWindow, WM_CLOSE, 0, 0); }

}  // namespace lw::platform
