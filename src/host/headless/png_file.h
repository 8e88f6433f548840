// PNG files of 32-bit frames, for the record mode and the reference pictures of the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lw::headless {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, rows top down
};

// Writes the picture as an 8-bit RGB PNG (the fourth byte of a frame pixel carries no meaning).
// False with a message in `error` when the file cannot be written.
bool writePng(const std::string& path, const Picture& picture, std::string& error);
// Reads an RGB or RGBA PNG; the fourth byte of every pixel is 0.
bool readPng(const std::string& path, Picture& picture, std::string& error);

}  // namespace lw::headless
