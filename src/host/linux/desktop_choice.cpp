#include "host/linux/desktop_choice.h"

#include <string_view>

namespace lw::linuxhost {

namespace {

bool isSet(const char* value) { return value != nullptr && *value != '\0'; }

DesktopChoice refuse(std::string line) {
    DesktopChoice choice;
    choice.refusal = std::move(line);
    return choice;
}

DesktopChoice take(DesktopHost host) {
    DesktopChoice choice;
    choice.host = host;
    return choice;
}

bool drawsIntoXWindows(const LinuxStart& start) {
    return start.hack || (start.error.empty() && start.decision.mode == StartMode::Preview);
}

}  // namespace

DesktopChoice chooseDesktop(const LinuxStart& start, const char* lwDisplay, const char* waylandDisplay,
                            const char* xDisplay) {
    const std::string_view wanted = isSet(lwDisplay) ? lwDisplay : "";
    if (!wanted.empty() && wanted != "wayland" && wanted != "x11") {
        return refuse("LW_DISPLAY is '" + std::string(wanted) + "': it takes wayland or x11");
    }
    if (drawsIntoXWindows(start)) {
        if (!isSet(xDisplay)) return refuse("/p and the XScreenSaver hack modes need an X display; DISPLAY is not set");
        return take(DesktopHost::X11);
    }
    // A window id that cannot be read is the X host's to report.
    if (!start.error.empty() || wanted == "x11") return take(DesktopHost::X11);
    if (wanted == "wayland" || isSet(waylandDisplay)) return take(DesktopHost::Wayland);
    return take(DesktopHost::X11);
}

}  // namespace lw::linuxhost
