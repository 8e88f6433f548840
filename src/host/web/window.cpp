// The screen the frame is made for, the page's message, the cursor over the canvas, and the end.
#include <emscripten/emscripten.h>

#include <string>

#include "host/linux/utf8.h"
#include "host/platform.h"
#include "host/process.h"
#include "host/web/web_host.h"

namespace lw::platform {

int screenWidth() { return web::state().screenWidth; }

int screenHeight() { return web::state().screenHeight; }

// A page has no modal box: the message stays on the page, which has stopped drawing by the
// time anyone could answer it.
int messageBox(const wchar_t* text, const wchar_t* caption, unsigned) {
    const std::string message = linuxhost::toUtf8(text != nullptr ? text : L"");
    const std::string title = linuxhost::toUtf8(caption != nullptr ? caption : L"");
    lw_page_message(message.c_str(), title.c_str());
    return 1;  // IDOK
}

void showCursor(bool visible) { lw_page_cursor(visible ? 1 : 0); }

void requestClose() { lw_page_close(); }

}  // namespace lw::platform

// The page's half of the close handshake, on the main thread.
extern "C" EMSCRIPTEN_KEEPALIVE void lw_web_close_request() { lw::onCloseRequest(); }
