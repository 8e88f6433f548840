// How the screensaver host asked us to run, decided from the argument list alone, so every host
// (Win32, SDL) shares one reading of a screensaver command line.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lw {

enum class StartMode {
    Full,     // no argument or "/s": the animation, full screen
    Preview,  // "/p HANDLE": paint the still preview into the host's window
    Help,     // anything else: show the help box, then end
    Quit,     // "/p" with a handle that reads as 0: end at once, showing nothing
};

struct StartDecision {
    StartMode mode = StartMode::Full;
    // The host's preview window as the number it passed; only meaningful for Preview.
    std::intptr_t previewParent = 0;
};

// args[0] is the program itself, as in a C argv. Never fails: whatever cannot be understood asks
// for the help box.
StartDecision parseCommandLine(std::span<const std::wstring> args);

// Reads an int the way StrToIntW does: leading white space, an optional sign, decimal digits up
// to the first other character; 0 when there are no digits. Too many digits wrap around as the
// 32-bit original does, rather than being undefined.
int readDecimalInt(std::wstring_view text);

}  // namespace lw
