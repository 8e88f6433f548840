// Which desktop host runs the screensaver: the Wayland host in a Wayland session, the SDL host on
// X11 otherwise. LW_DISPLAY (wayland or x11) overrides the guess. The still preview and the
// XScreenSaver hack modes draw into X windows that other programs own, so they always take X.
#pragma once

#include <string>

#include "host/linux/start_mode.h"

namespace lw::linuxhost {

enum class DesktopHost { Wayland, X11 };

struct DesktopChoice {
    DesktopHost host = DesktopHost::X11;
    // Set when nothing can run: the line to print before the program ends with exit code 0.
    std::string refusal;
};

// The environment's values, null when a variable is not set. An empty value counts as not set.
DesktopChoice chooseDesktop(const LinuxStart& start, const char* lwDisplay, const char* waylandDisplay,
                            const char* xDisplay);

}  // namespace lw::linuxhost
