// How the Linux desktop program was asked to run. Besides the screensaver command line of
// Windows (host/command_line.h) it understands XScreenSaver's way of starting a hack: draw into
// the window named by -window-id, or into the root window (-root), for which XScreenSaver puts
// its own window into XSCREENSAVER_WINDOW.
#pragma once

#include <string>
#include <vector>

#include "host/command_line.h"

namespace lw::linuxhost {

struct LinuxStart {
    bool hack = false;
    // The window a hack draws into; 0 means the root window.
    unsigned long window = 0;
    // The Windows reading of the arguments, when this is not a hack.
    StartDecision decision;
    // Set when a window id cannot be read; nothing should run then.
    std::string error;
};

// arguments exclude the program's own name; xscreensaverWindow is the variable's value or null.
// -window-id wins over the variable, which wins over the plain root window. Arguments a hack
// does not know (XScreenSaver passes some, such as -fps) are ignored in a hack.
LinuxStart decideStart(const std::vector<std::string>& arguments, const char* xscreensaverWindow);

// An X window id as XScreenSaver writes it: decimal, or hexadecimal after 0x. 0 when the text
// is no such number or names no window (0, or more than the 32 bits of an X id).
unsigned long readWindowId(const std::string& text);

}  // namespace lw::linuxhost
