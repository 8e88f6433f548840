// The fill of the clears, which the page does with stores of its own: at counts with and without
// a tail past the last 16 bytes, exactly the words asked for take the colour, and the words beside
// them stay.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "raster/frame_buffer.h"

namespace lw {

TEST(FillPixelsTest, FillsExactlyTheWordsAskedForWhateverTheCount) {
    constexpr std::uint32_t kBeside = 0x12345678u;
    constexpr Colour kColour = 0xFFA08CF0u;  // bytes that differ: filled word by word
    for (const std::size_t count : {0, 1, 3, 4, 5, 7, 8, 41, 1280, 65283}) {
        std::vector<std::uint32_t> words(count + 2, kBeside);
        fillPixels(words.data() + 1, count, kColour);
        EXPECT_EQ(words.front(), kBeside) << count;
        EXPECT_EQ(static_cast<std::size_t>(std::count(words.begin() + 1, words.end() - 1, kColour)), count) << count;
        EXPECT_EQ(words.back(), kBeside) << count;
    }
}

}  // namespace lw
