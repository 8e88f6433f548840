// The Linux program. One binary, three hosts: "--record" writes frames of the scene as PNG files
// and "--gallery" a sheet of every brush style, both on the headless host; everything else is the
// screensaver on the desktop: on the Wayland host in a Wayland session (full screen, help), on the
// SDL host on X11 (full screen, still preview, help, or an XScreenSaver hack). "--version" alone
// prints the version.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_config.h"
#include "app/gallery_mode.h"
#include "app/record_mode.h"
#include "host/linux/desktop_choice.h"
#include "host/sdl/sdl_program.h"
#include "host/wayland/wayland_program.h"
#include "lumenwaltz_version.h"

namespace {
int runRecordMode(const std::vector<std::string>& arguments) {
    std::string error;
    const auto options = lw::app::parseRecordArguments(arguments, error);
    if (!options) {
        std::fprintf(stderr, "lumenwaltz: %s\n", error.c_str());
        return 2;
    }
    return lw::app::runRecord(*options, lw::configureProgram);
}
}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::printf("lumenwaltz %s\n", LW_VERSION);
        return 0;
    }
    if (!arguments.empty() && arguments[0] == "--record") return runRecordMode(arguments);
    if (!arguments.empty() && arguments[0] == "--gallery") return lw::app::runGalleryMode(arguments);
    const auto start = lw::linuxhost::decideStart(arguments, std::getenv("XSCREENSAVER_WINDOW"));
    const auto choice =
        lw::linuxhost::chooseDesktop(start, std::getenv("LW_DISPLAY"), std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"));
    if (!choice.refusal.empty()) {
        std::fprintf(stderr, "lumenwaltz: %s\n", choice.refusal.c_str());
        return 0;
    }
    if (choice.host == lw::linuxhost::DesktopHost::Wayland) return lw::wayland::runProgram(arguments, lw::configureProgram);
    return lw::sdl::runProgram(arguments, lw::configureProgram);
}
