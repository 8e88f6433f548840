// The Windows screensaver: the program's configuration, then the Win32 host's start-up (the
// command line's mode, the window, the worker, the message loop). A GUI program's wide entry
// point; the host reads the command line and the show command itself.
#include "app/app_config.h"
#include "host/win32/win32_program.h"

int wmain() { return lw::win32::runProgram(lw::configureProgram); }
