// The Windows screensaver on the Win32 host: the command line's three modes (full screen, the
// still preview in another program's window, the key help). No Win32 type shows here.
#pragma once

namespace lw::win32 {

// Runs the program and returns its exit code (always 0). `configure` applies the program's
// configuration before the command line is read, so the help box and the window use it.
int runProgram(void (*configure)());

}  // namespace lw::win32
