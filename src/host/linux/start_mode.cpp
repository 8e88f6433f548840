#include "host/linux/start_mode.h"

#include <cerrno>
#include <cstdlib>

#include "host/linux/utf8.h"

namespace lw::linuxhost {

namespace {
constexpr unsigned long kLargestWindowId = 0xFFFFFFFFul;

bool isOption(const std::string& argument, const char* name) {
    return argument == std::string("-") + name || argument == std::string("--") + name;
}

LinuxStart hackInto(unsigned long window) {
    LinuxStart start;
    start.hack = true;
    start.window = window;
    return start;
}

LinuxStart failure(std::string message) {
    LinuxStart start;
    start.error = std::move(message);
    return start;
}
}  // namespace

unsigned long readWindowId(const std::string& text) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return 0;
    errno = 0;
    char* end = nullptr;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const unsigned long long value = std::strtoull(text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || end == nullptr || *end != '\0' || value > kLargestWindowId) return 0;
    return static_cast<unsigned long>(value);
}

LinuxStart decideStart(const std::vector<std::string>& arguments, const char* xscreensaverWindow) {
    bool root = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (isOption(arguments[i], "window-id")) {
            const std::string text = i + 1 < arguments.size() ? arguments[i + 1] : std::string();
            const unsigned long window = readWindowId(text);
            if (window == 0) return failure("-window-id needs an X window id, not '" + text + "'");
            return hackInto(window);
        }
        root = root || isOption(arguments[i], "root");
    }
    if (xscreensaverWindow != nullptr && *xscreensaverWindow != '\0') {
        const unsigned long window = readWindowId(xscreensaverWindow);
        if (window == 0) return failure(std::string("XSCREENSAVER_WINDOW holds no window id: '") + xscreensaverWindow + "'");
        return hackInto(window);
    }
    if (root) return hackInto(0);

    std::vector<std::wstring> wide{L"lumenwaltz"};
    for (const auto& argument : arguments) wide.push_back(widenBytes(argument));
    LinuxStart start;
    start.decision = parseCommandLine(wide);
    return start;
}

}  // namespace lw::linuxhost
