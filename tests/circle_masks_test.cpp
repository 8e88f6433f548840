#include "sprites/circle_masks.h"

#include <cstdint>
#include <vector>

#include "test_support.h"

namespace lw {

namespace {

using Rows = std::vector<std::vector<int>>;

class CircleMasksTest : public test::HostTest {};

// The whole mask of a size, rows from the centre out.
Rows maskOf(int size) {
    MaskSelection selection;
    selectMask(selection, size);
    Rows rows;
    for (std::uint32_t i = 0; i < selection.width; ++i, selection.row += selection.rowStride / 4) {
        std::vector<int> row;
        for (std::uint32_t j = 0; j < selection.width; ++j) row.push_back(maskCoverage(selection, static_cast<int>(j)));
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

// Sizes 1 to 4 are one partly covered pixel even before the build; sizes beyond the table are
// held to it.
TEST_F(CircleMasksTest, MasksComeOutAsWorkedByHand) {
    EXPECT_EQ(maskOf(3), (Rows{{191}}));
    buildCircleMasks();
    EXPECT_EQ(maskOf(5), (Rows{{255, 63}, {63, 15}}));
    EXPECT_EQ(maskOf(8), (Rows{{255, 191}, {191, 127}}));
    EXPECT_EQ(maskOf(16), (Rows{{255, 255, 255, 191}, {255, 255, 255, 175}, {255, 255, 239, 79}, {191, 175, 79, 0}}));
    const Rows largest = maskOf(1020);
    ASSERT_EQ(largest.size(), 255u);
    EXPECT_EQ(largest.front()[253], 255);
    EXPECT_EQ(largest.front()[254], 223);
    EXPECT_EQ(largest.back().back(), 0);
    EXPECT_EQ(maskOf(5000), largest);
    EXPECT_EQ(maskOf(-4), Rows{});
}

// Checked word by word, so each comparison covers the four sizes of a block at once. Rows never
// rise away from the centre; with the symmetry, columns never do either.
TEST_F(CircleMasksTest, EveryMaskIsSymmetricAndNeverRisesAwayFromTheCentre) {
    buildCircleMasks();
    int faults = 0;
    for (int w = 2; w < kMaskBlockCount; ++w) {
        const std::uint32_t* block = maskBlocks[w];
        for (int i = 0; i < w; ++i) {
            for (int j = 0; j < w; ++j) {
                const std::uint32_t word = block[i * w + j];
                faults += word != block[j * w + i];
                for (int lane = 0; j > 0 && lane < 4; ++lane) {
                    faults += ((word >> (8 * lane)) & 0xFFu) > ((block[i * w + j - 1] >> (8 * lane)) & 0xFFu);
                }
            }
        }
    }
    EXPECT_EQ(faults, 0);
}

TEST_F(CircleMasksTest, ARunOutOfMemoryIsFatalAndTheNextBuildStartsAfresh) {
    failAllocationAfter(40);
    EXPECT_TRUE(test::endsInFatalError([] { buildCircleMasks(); }, kAllocationFailedText));
    EXPECT_EQ(masksBuilt, 0);
    buildCircleMasks();
    EXPECT_EQ(maskOf(8), (Rows{{255, 191}, {191, 127}}));
    releaseCircleMasks();
    EXPECT_EQ(maskBlocks[2], nullptr);
    EXPECT_EQ(maskOf(4), (Rows{{255}}));  // the fixed words stay
}

}  // namespace lw
