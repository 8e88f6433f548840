// Pictures compared pixel by pixel with reference PNGs kept in tests/data. A picture that differs
// is written next to the build as <name>_actual.png, with <name>_diff.png marking every differing
// pixel; with LW_UPDATE_REFERENCES=1 in the environment the reference is rewritten instead.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/headless/png_file.h"
#include "raster/frame_buffer.h"

namespace lw::test {

// The viewport as it stands, rows top down; the fourth byte carries no meaning and is dropped.
inline headless::Picture viewPicture() {
    headless::Picture picture;
    picture.width = viewWidth;
    picture.height = viewHeight;
    picture.pixels.reserve(static_cast<std::size_t>(viewWidth) * viewHeight);
    for (int y = 0; y < viewHeight; ++y) {
        for (int x = 0; x < viewWidth; ++x) picture.pixels.push_back(pixels[rowTable[y] + x] & 0xFFFFFFu);
    }
    return picture;
}

// Differing pixels in white over a dimmed copy of the reference, so a fault shows where it is.
inline headless::Picture diffPicture(const headless::Picture& actual, const headless::Picture& reference) {
    headless::Picture diff = actual;
    for (std::size_t i = 0; i < diff.pixels.size(); ++i) {
        const std::uint32_t r = reference.pixels[i] & 0xFFFFFFu;
        diff.pixels[i] = (actual.pixels[i] & 0xFFFFFFu) == r ? (r >> 2) & 0x3F3F3Fu : 0xFFFFFFu;
    }
    return diff;
}

inline ::testing::AssertionResult matchesReference(const std::string& name, const headless::Picture& actual) {
    const std::string referencePath = std::string(LW_TEST_DATA_DIR) + "/" + name + ".png";
    std::string error;
    const char* update = std::getenv("LW_UPDATE_REFERENCES");
    if (update != nullptr && std::string(update) == "1") {
        if (!headless::writePng(referencePath, actual, error)) return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess() << "reference rewritten";
    }
    headless::Picture reference;
    if (!headless::readPng(referencePath, reference, error)) {
        return ::testing::AssertionFailure() << "no reference " << referencePath << ": " << error;
    }
    if (reference.width != actual.width || reference.height != actual.height) {
        return ::testing::AssertionFailure() << "the reference is " << reference.width << " x " << reference.height;
    }
    int differing = 0;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i) {
        if ((actual.pixels[i] & 0xFFFFFFu) != (reference.pixels[i] & 0xFFFFFFu)) ++differing;
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    headless::writePng(name + "_actual.png", actual, error);
    headless::writePng(name + "_diff.png", diffPicture(actual, reference), error);
    return ::testing::AssertionFailure() << differing << " pixels differ from " << referencePath << "; see " << name
                                         << "_actual.png and " << name << "_diff.png in the build directory";
}

}  // namespace lw::test
