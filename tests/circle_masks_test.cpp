#include "sprites/circle_masks.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "host/memory.h"
#include "sprites/styles.h"
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
    for (std::uint32_t i = 0; i < selection.width; ++i) {
        std::vector<int> row;
        for (std::uint32_t j = 0; j < selection.width; ++j) row.push_back(maskCoverage(selection, static_cast<int>(j)));
        rows.push_back(row);
        selection.row += selection.rowStride / 4;
    }
    return rows;
}

std::uint32_t byteOf(std::uint32_t word, int lane) { return (word >> (8 * lane)) & 0xFFu; }

}  // namespace

TEST_F(CircleMasksTest, SmallMasksComeOutAsWorkedByHand) {
    buildCircleMasks();
    EXPECT_EQ(maskOf(5), (Rows{{255, 63}, {63, 15}}));
    EXPECT_EQ(maskOf(6), (Rows{{255, 127}, {127, 47}}));
    EXPECT_EQ(maskOf(8), (Rows{{255, 191}, {191, 127}}));
    EXPECT_EQ(maskOf(12), (Rows{{255, 255, 191}, {255, 255, 175}, {191, 175, 47}}));
    EXPECT_EQ(maskOf(16), (Rows{{255, 255, 255, 191}, {255, 255, 255, 175}, {255, 255, 239, 79}, {191, 175, 79, 0}}));
}

TEST_F(CircleMasksTest, SizesOneToFourAreOnePartlyCoveredPixelEvenBeforeTheBuild) {
    EXPECT_EQ(*maskBlocks[1], 0xFFBF7F3Fu);
    const int expected[] = {63, 127, 191, 255};
    for (int size = 1; size <= 4; ++size) {
        MaskSelection selection;
        selectMask(selection, size);
        EXPECT_EQ(selection.width, 1u);
        EXPECT_EQ(selection.rowStride, 4);
        EXPECT_EQ(maskCoverage(selection, 0), expected[size - 1]) << size;
    }
}

// A size beyond the table draws at the largest mask rather than reading past the last block;
// a size below 1 covers nothing.
TEST_F(CircleMasksTest, SizesOutsideTheTableAreHeldToIt) {
    buildCircleMasks();
    MaskSelection largest;
    selectMask(largest, 1020);
    for (int size : {1021, 1024, 1025, 5000}) {
        MaskSelection selection;
        selectMask(selection, size);
        EXPECT_EQ(selection.width, 255u) << size;
        EXPECT_EQ(selection.row, largest.row) << size;
        EXPECT_EQ(selection.laneBits, largest.laneBits) << size;
    }
    for (int size : {0, -1, -400}) {
        MaskSelection selection;
        selectMask(selection, size);
        EXPECT_EQ(selection.width, 0u) << size;
        EXPECT_EQ(maskCoverage(selection, 0), 0) << size;
    }
}

TEST_F(CircleMasksTest, LargestMaskEndsItsCentreAndLastRowsAsWorked) {
    buildCircleMasks();
    const Rows mask = maskOf(1020);
    ASSERT_EQ(mask.size(), 255u);
    const std::vector<int>& centre = mask.front();
    for (int j = 0; j <= 253; ++j) ASSERT_EQ(centre[j], 255) << j;
    EXPECT_EQ(centre[254], 223);
    EXPECT_EQ(mask.back().front(), 223);
    EXPECT_EQ(mask.back().back(), 0);
}

// Checked word by word, so each comparison covers the four sizes of a block at once.
TEST_F(CircleMasksTest, EveryMaskIsSymmetricAndNeverRisesAwayFromTheCentre) {
    buildCircleMasks();
    int asymmetric = 0;
    int rising = 0;
    for (int w = 2; w < kMaskBlockCount; ++w) {
        const std::uint32_t* block = maskBlocks[w];
        ASSERT_NE(block, nullptr) << w;
        for (int i = 0; i < w; ++i) {
            for (int j = 0; j < w; ++j) {
                const std::uint32_t word = block[i * w + j];
                asymmetric += word != block[j * w + i];
                if (j == 0) continue;
                const std::uint32_t before = block[i * w + j - 1];
                for (int lane = 0; lane < 4; ++lane) rising += byteOf(word, lane) > byteOf(before, lane);
            }
        }
    }
    // Rows never rise; with the symmetry, columns never rise either.
    EXPECT_EQ(asymmetric, 0);
    EXPECT_EQ(rising, 0);
}

// Sizes 5 to 8 share the words of block 2, each in its own lane, and whatever the block held
// before is overwritten.
TEST_F(CircleMasksTest, EachLaneOfASharedWordHoldsItsOwnSize) {
    std::uint32_t block[4] = {0xA5A5A5A5u, 0xA5A5A5A5u, 0xA5A5A5A5u, 0xA5A5A5A5u};
    buildMaskBlock(block, 2);
    const std::uint32_t lanes[4][4] = {{255, 63, 63, 15}, {255, 127, 127, 47}, {255, 159, 159, 63}, {255, 191, 191, 127}};
    for (int lane = 0; lane < 4; ++lane) {
        for (int k = 0; k < 4; ++k) EXPECT_EQ(byteOf(block[k], lane), lanes[lane][k]) << "size " << 5 + lane << " word " << k;
    }
    std::vector<std::uint32_t> wide(9 * 9, 0x5A5A5A5Au);
    buildMaskBlock(wide.data(), 9);
    for (std::uint32_t word : wide) EXPECT_NE(word, 0x5A5A5A5Au);
}

TEST_F(CircleMasksTest, BuiltOnceAndBuiltAgainAfterRelease) {
    EXPECT_EQ(masksBuilt, 0);
    EXPECT_EQ(maskBlocks[2], nullptr);
    buildCircleMasks();
    ASSERT_EQ(masksBuilt, 1);
    const std::uint32_t* first = maskBlocks[100];
    std::vector<std::uint32_t> copy(first, first + 100 * 100);
    buildCircleMasks();  // nothing to do
    EXPECT_EQ(maskBlocks[100], first);

    releaseCircleMasks();
    EXPECT_EQ(masksBuilt, 0);
    for (int w = 2; w < kMaskBlockCount; ++w) ASSERT_EQ(maskBlocks[w], nullptr) << w;
    EXPECT_EQ(*maskBlocks[0], 0u);  // the fixed words stay
    EXPECT_EQ(*maskBlocks[1], 0xFFBF7F3Fu);

    // The way a second scene gets there: a flat disc style set up after the tables were released.
    selectStyle(3);
    setupStyle(*currentStyle, 0x40002u, 0x00FF0000, L"");
    ASSERT_EQ(masksBuilt, 1);
    ASSERT_NE(maskBlocks[100], nullptr);
    EXPECT_EQ(std::memcmp(maskBlocks[100], copy.data(), copy.size() * 4), 0);
}

TEST_F(CircleMasksTest, RunningOutOfMemoryIsFatalAndTheNextBuildStartsAfresh) {
    failAllocationAfter(40);
    EXPECT_TRUE(test::endsInFatalError([] { buildCircleMasks(); }, kAllocationFailedText));
    EXPECT_EQ(masksBuilt, 0);
    EXPECT_NE(maskBlocks[2], nullptr);  // made before the failure; the sanitizer build reports a leak
    buildCircleMasks();
    EXPECT_EQ(masksBuilt, 1);
    EXPECT_EQ(maskOf(8), (Rows{{255, 191}, {191, 127}}));
}

}  // namespace lw
