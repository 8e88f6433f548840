// The Linux program on the headless host: records frames of the scene into PNG files.
#include <cstdio>
#include <string>
#include <vector>

#include "host/headless/record.h"
#include "host/host_config.h"
#include "scene/scene.h"
#include "sprites/styles.h"

namespace {
void configureProgram() {
    lw::registerAppHooks(lw::sceneProcess, lw::renderFrame);
    lw::applyAppConfig();
}
}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && arguments[0] == "--record") {
        std::string error;
        const auto options = lw::headless::parseRecordArguments(arguments, error);
        if (!options) {
            std::fprintf(stderr, "lumenwaltz: %s\n", error.c_str());
            return 2;
        }
        return lw::headless::runRecord(*options, configureProgram);
    }
    std::fprintf(stderr,
                 "usage: lumenwaltz --record DIR --frames N [--size WxH] [--seed S]\n"
                 "  runs the scene without a window and writes frame k as DIR/frame-0000k.png\n");
    return arguments.empty() ? 0 : 2;
}
