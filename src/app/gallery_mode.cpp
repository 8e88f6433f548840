#include "app/gallery_mode.h"

#include <cstdio>

#include "host/headless/headless.h"
#include "host/headless/png_file.h"
#include "app/record_mode.h"
#include "scene/gallery.h"

namespace lw::app {

// The modes run on the headless host and use its simulated clock, window and picture files.
using namespace headless;

namespace {
constexpr int kDefaultWidth = 1000;
constexpr int kDefaultHeight = 840;

int refuse(const std::string& message) {
    std::fprintf(stderr, "lumenwaltz: %s\n", message.c_str());
    return 2;
}
}  // namespace

int runGalleryMode(const std::vector<std::string>& arguments) {
    std::string file;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        if (i + 1 >= arguments.size()) return refuse("option " + arguments[i] + " needs a value");
        const std::string& value = arguments[i + 1];
        if (arguments[i] == "--gallery") {
            file = value;
        } else if (arguments[i] == "--size") {
            if (!parseFrameSize(value, width, height)) {
                return refuse("--size needs WIDTHxHEIGHT, each from 1 to 16384, not " + value);
            }
        } else {
            return refuse("unknown option " + arguments[i]);
        }
    }
    if (file.empty()) return refuse("usage: lumenwaltz --gallery FILE.png [--size WxH]");

    reset();
    setScreenSize(width, height);
    try {
        drawGallery(width, height);
    } catch (const WorkerExit&) {
        // The fatal message was "shown": the host kept it.
        for (const auto& box : messageBoxes()) std::fprintf(stderr, "lumenwaltz: %ls\n", box.text.c_str());
        releaseGallery();
        return 1;
    }
    const auto window = windowPixels();
    Picture sheet{width, height, std::vector<std::uint32_t>(window.begin(), window.end())};
    releaseGallery();
    std::string error;
    if (!writePng(file, sheet, error)) return refuse(error);
    std::printf("Wrote the style gallery (%dx%d) to %s\n", width, height, file.c_str());
    return 0;
}

}  // namespace lw::app
