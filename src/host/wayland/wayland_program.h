// The Linux desktop program on the Wayland host: the screensaver full screen on every output,
// and the help. No Wayland type shows here.
#pragma once

#include <string>
#include <vector>

namespace lw::wayland {

// Makes the Wayland host the active one and runs the program; returns its exit code (always 0,
// also when no surface can be had: that is said on standard error). `configure` applies the
// program's configuration once the screen's size is known, before the worker starts.
int runProgram(const std::vector<std::string>& arguments, void (*configure)());

}  // namespace lw::wayland
