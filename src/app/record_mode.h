// The record mode of the Linux program: runs the real scene on the headless host's worker with a
// simulated clock and writes every frame as a PNG.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lw::app {

struct RecordOptions {
    std::string directory;
    int frames = 0;
    int width = 1280;
    int height = 720;
    std::uint32_t seed = 1;
};

constexpr int kLargestSide = 16384;

// Reads "WIDTHxHEIGHT", each side from 1 to kLargestSide.
bool parseFrameSize(const std::string& text, int& width, int& height);
// Reads "--record DIR --frames N [--size WxH] [--seed S]". Nullopt with a one-line message in
// `error` for anything else.
std::optional<RecordOptions> parseRecordArguments(const std::vector<std::string>& arguments, std::string& error);
// Makes the folder when it is missing and checks that files can be written into it.
bool prepareOutputDirectory(const std::string& directory, std::string& error);
// Runs the program's process for options.frames frames, then ends it with a released Esc.
// `configure` runs once the host has the screen size and the seed, before the worker starts: it
// applies the program's configuration (hooks, frame size, colours). Returns the process exit
// code; a frame that cannot be written or a fatal error ends the run with a message and code 1.
int runRecord(const RecordOptions& options, void (*configure)());

}  // namespace lw::app
