#include "app/record_mode.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "host/headless/headless.h"
#include "host/headless/png_file.h"
#include "host/input.h"
#include "host/process.h"

namespace lw::app {

// The modes run on the headless host and use its simulated clock, window and picture files.
using namespace headless;

namespace {

bool parseInt(const std::string& text, long long& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}


// Shared between the worker (which presents) and nothing else: the record mode's own state.
struct Recorder {
    RecordOptions options;
    int written = 0;
    bool failed = false;
    std::string error;
};
Recorder* activeRecorder = nullptr;

std::string framePath(const std::string& directory, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05d.png", frame);
    return (std::filesystem::path(directory) / name).string();
}

void onFrameDone(std::span<const std::uint32_t> window, int width, int height) {
    Recorder& recorder = *activeRecorder;
    if (recorder.failed || recorder.written >= recorder.options.frames) return;
    Picture picture{width, height, std::vector<std::uint32_t>(window.begin(), window.end())};
    recorder.written += 1;
    if (!writePng(framePath(recorder.options.directory, recorder.written), picture, recorder.error)) {
        recorder.failed = true;
    }
    // The user's way out: Esc pressed and released, read by the scene at the end of this frame.
    if (recorder.failed || recorder.written == recorder.options.frames) {
        recordKeyPress(vk::Escape);
        recordKeyRelease(vk::Escape);
    }
}

}  // namespace

bool parseFrameSize(const std::string& text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    long long w = 0;
    long long h = 0;
    if (!parseInt(text.substr(0, x), w) || !parseInt(text.substr(x + 1), h)) return false;
    if (w < 1 || h < 1 || w > kLargestSide || h > kLargestSide) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

std::optional<RecordOptions> parseRecordArguments(const std::vector<std::string>& arguments, std::string& error) {
    RecordOptions options;
    bool haveDirectory = false;
    bool haveFrames = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (i + 1 >= arguments.size()) {
            error = option.rfind("--", 0) == 0 ? "option " + option + " needs a value" : "unexpected argument " + option;
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        long long number = 0;
        if (option == "--record") {
            options.directory = value;
            haveDirectory = !value.empty();
        } else if (option == "--frames") {
            if (!parseInt(value, number) || number < 1 || number > 99999) {
                error = "--frames needs a count from 1 to 99999, not " + value;
                return std::nullopt;
            }
            options.frames = static_cast<int>(number);
            haveFrames = true;
        } else if (option == "--size") {
            if (!parseFrameSize(value, options.width, options.height)) {
                error = "--size needs WIDTHxHEIGHT, each from 1 to 16384, not " + value;
                return std::nullopt;
            }
        } else if (option == "--seed") {
            if (!parseInt(value, number) || number < 0 || number > 0xFFFFFFFFLL) {
                error = "--seed needs a number from 0 to 4294967295, not " + value;
                return std::nullopt;
            }
            options.seed = static_cast<std::uint32_t>(number);
        } else {
            error = "unknown option " + option;
            return std::nullopt;
        }
    }
    if (!haveDirectory || !haveFrames) {
        error = "usage: lumenwaltz --record DIR --frames N [--size WxH] [--seed S]";
        return std::nullopt;
    }
    return options;
}

bool prepareOutputDirectory(const std::string& directory, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    const auto probe = std::filesystem::path(directory) / ".lumenwaltz-write-test";
    {
        std::ofstream file(probe);
        if (!file || !(file << 'x') || !file.flush()) {
            error = "cannot write into the folder " + directory;
            return false;
        }
    }
    std::filesystem::remove(probe, ec);
    return true;
}

int runRecord(const RecordOptions& options, void (*configure)()) {
    std::string error;
    if (!prepareOutputDirectory(options.directory, error)) {
        std::fprintf(stderr, "lumenwaltz: %s\n", error.c_str());
        return 2;
    }
    reset();
    setScreenSize(options.width, options.height);
    setTickCount(options.seed);
    configure();

    Recorder recorder{options, 0, false, {}};
    activeRecorder = &recorder;
    setFrameListener(onFrameDone);
    startProcessThread();
    joinWorker();
    setFrameListener(nullptr);
    activeRecorder = nullptr;

    for (const auto& box : messageBoxes()) {
        std::fprintf(stderr, "lumenwaltz: %ls\n", box.text.c_str());
    }
    if (recorder.failed) {
        std::fprintf(stderr, "lumenwaltz: %s\n", recorder.error.c_str());
        return 1;
    }
    if (!messageBoxes().empty()) return 1;
    std::printf("Wrote %d frames of %dx%d to %s\n", recorder.written, options.width, options.height,
                options.directory.c_str());
    return 0;
}

}  // namespace lw::app
