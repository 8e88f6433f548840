#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "host/frame_scaling.h"
#include "host/output_pixels.h"

namespace lw {
namespace {

// A 3 x 2 frame, stored bottom-up: the top row on screen is 1 2 3, the bottom row 4 5 6.
const std::vector<std::uint32_t> kFrame = {4, 5, 6, 1, 2, 3};
const FramePixels kFramePixels{kFrame.data(), 3, 2};

TEST(FrameScalingTest, APartLandsTopDownAtItsPlaceAndNothingOutsideIsTouched) {
    std::vector<std::uint32_t> window(5 * 3, 0);  // 4 x 3 pixels, rows 5 apart
    const WindowPixels target{window.data(), 5, 4, 3};
    copyFramePart(kFramePixels, {1, 0, 5, 5}, target, 1, 1);  // clipped to columns 1..2 of the frame
    EXPECT_EQ(window, (std::vector<std::uint32_t>{0, 0, 0, 0, 0,  //
                                                  0, 0, 2, 3, 0,  //
                                                  0, 0, 5, 6, 0}));
    copyFramePart(kFramePixels, {0, 0, 3, 2}, target, -2, 2);  // only the top row's last pixel lands
    EXPECT_EQ(window[10], 3u);
    EXPECT_EQ(window[11], 0u);
    copyFramePart(kFramePixels, {0, 0, 3, 2}, target, 3, -1);  // only the bottom row's first pixel lands
    EXPECT_EQ(window[3], 4u);
    EXPECT_EQ(window[4], 0u);
}

TEST(FrameScalingTest, ScalingTakesThePixelUnderEachCentre) {
    std::vector<std::uint32_t> window(7 * 4, 9);
    const WindowPixels target{window.data(), 7, 7, 4};
    scaleFrame(kFramePixels, target, {1, 0, 6, 4});  // twice as large
    EXPECT_EQ(window, (std::vector<std::uint32_t>{9, 1, 1, 2, 2, 3, 3,  //
                                                  9, 1, 1, 2, 2, 3, 3,  //
                                                  9, 4, 4, 5, 5, 6, 6,  //
                                                  9, 4, 4, 5, 5, 6, 6}));
    std::vector<std::uint32_t> small(2, 0);
    scaleFrame(kFramePixels, {small.data(), 2, 2, 1}, {0, 0, 2, 1});  // centres at 0.75 and 2.25 of 3
    EXPECT_EQ(small, (std::vector<std::uint32_t>{4, 6}));
}

TEST(FrameScalingTest, AroundAPartDrawnAnewTheOlderPictureTakesTheNewerOne) {
    std::vector<std::uint32_t> newer(4 * 3);
    for (std::size_t i = 0; i < newer.size(); ++i) newer[i] = static_cast<std::uint32_t>(i + 1);
    std::vector<std::uint32_t> older(4 * 3, 0);
    copyOutside({newer.data(), 4, 4, 3}, {older.data(), 4, 4, 3}, {1, 1, 2, 5});  // kept: clipped to rows 1..2
    EXPECT_EQ(older, (std::vector<std::uint32_t>{1, 2, 3, 4,  //
                                                 5, 0, 0, 8,  //
                                                 9, 0, 0, 12}));
    std::vector<std::uint32_t> all(4 * 3, 0);
    copyOutside({newer.data(), 4, 4, 3}, {all.data(), 4, 4, 3}, {});
    EXPECT_EQ(all, newer) << "nothing kept: everything copied";
}

// A Wayland output of scale 2 or 1.5 has the pixels of its mode, not of its logical size; where
// no mode is told the logical size at the scale stands in, the fractional one first.
TEST(FrameScalingTest, AnOutputsPixelsAreItsModeTurnedOrItsLogicalSizeScaled) {
    const auto pixels = [](const OutputReport& output) {
        int width = 0;
        int height = 0;
        return outputPixels(output, width, height) ? std::pair{width, height} : std::pair{0, 0};
    };
    EXPECT_EQ(pixels({1920, 1080, false, 2, 0, 960, 540}), std::pair(1920, 1080));
    EXPECT_EQ(pixels({1920, 1080, true, 1, 0, 1080, 1920}), std::pair(1080, 1920));
    EXPECT_EQ(pixels({0, 0, false, 2, 0, 1280, 720}), std::pair(2560, 1440));
    EXPECT_EQ(pixels({0, 0, false, 2, 180, 1280, 720}), std::pair(1920, 1080));
    EXPECT_EQ(pixels({0, 0, false, 1, 150, 1707, 960}), std::pair(2134, 1200)) << "rounded to the nearest";
    EXPECT_EQ(pixels({0, 0, false, 1, 0, 0, 0}), std::pair(0, 0)) << "nothing known yet";
}

}  // namespace
}  // namespace lw
