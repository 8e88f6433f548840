// The program's configuration of the host and the engine: which process the worker runs, which
// routine redraws, the frame's size and colours, the window's name and cursor.
#pragma once

namespace lw {

// Sets the application's configuration: hidden cursor, window class "Lumenwaltz", a frame of the
// screen's size with the application's clear colours, the scene as the process and the frame
// renderer as the redraw. Always 1. Runs before any window exists, once the host knows the
// screen's size.
int applyAppConfig();

// For the hosts' runProgram, which take a function without result.
inline void configureProgram() { applyAppConfig(); }

}  // namespace lw
