#include "host/memory.h"

#include <cstdint>

#include "test_support.h"

namespace lw {

using MemoryTest = test::HostTest;

TEST_F(MemoryTest, AlignedBlocksAndTheirFills) {
    for (std::size_t alignment : {16u, 1024u}) {
        for (std::size_t size : {1u, 17u, 4096u}) {
            auto* white = static_cast<std::uint8_t*>(allocAligned(size, alignment, 255));
            auto* black = static_cast<std::uint8_t*>(allocAligned(size, alignment, 1));
            auto* asIs = static_cast<std::uint8_t*>(allocAligned(size, alignment, 0));
            for (auto* block : {white, black, asIs}) {
                EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignment, 0u);
            }
            for (std::size_t i = 0; i < size; ++i) {
                ASSERT_EQ(white[i], 0xFF);
                ASSERT_EQ(black[i], 0x00);
            }
            asIs[size - 1] = 7;  // the whole size is usable
            freeAligned(white);
            freeAligned(black);
            freeAligned(asIs);
        }
    }
    auto* block16 = static_cast<std::uint8_t*>(alloc16(64, 255));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block16) % 16, 0u);
    EXPECT_EQ(block16[63], 0xFF);
    freeAligned(block16);
}

TEST_F(MemoryTest, GlobalBlocksAreAlwaysZeroAndNullIsIgnored) {
    for (int zero : {0, 1}) {
        auto* block = static_cast<std::uint8_t*>(allocGlobal(1000, zero));
        for (int i = 0; i < 1000; ++i) ASSERT_EQ(block[i], 0);
        freeGlobal(block);
    }
    freeAligned(nullptr);
    freeGlobal(nullptr);
}

TEST_F(MemoryTest, FailedAllocationIsFatal) {
    failAllocationAfter(2);
    void* first = alloc16(32, 1);
    EXPECT_TRUE(test::endsInFatalError([] { alloc16(32, 1); }, kAllocationFailedText));
    freeAligned(first);
    failAllocationAfter(1);
    EXPECT_TRUE(test::endsInFatalError([] { allocGlobal(8, 1); }, kAllocationFailedText));
    // A size whose padding would overflow fails the same way, without touching the heap.
    EXPECT_TRUE(test::endsInFatalError([] { allocAligned(SIZE_MAX - 4, 16, 0); }, kAllocationFailedText));
}

}  // namespace lw
