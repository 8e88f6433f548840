// The Linux desktop program on the SDL host: the screensaver's command line (full screen, still
// preview, help) and XScreenSaver's hack mode. No SDL type shows here.
#pragma once

#include <string>
#include <vector>

namespace lw::sdl {

// Makes the SDL host the active one and runs the program; returns its exit code (always 0).
// `configure` applies the program's configuration once the screen's size is known, before the
// worker starts.
int runProgram(const std::vector<std::string>& arguments, void (*configure)());

}  // namespace lw::sdl
