#include "host/memory.h"

#include <cstdint>

#include "test_support.h"

namespace lw {

using MemoryTest = test::HostTest;

TEST_F(MemoryTest, AlignedBlocksTheirFillsAndFailures) {
    for (std::size_t alignment : {16u, 1024u}) {
        for (std::size_t size : {1u, 4096u}) {
            auto* white = static_cast<std::uint8_t*>(allocAligned(size, alignment, 255));
            auto* black = static_cast<std::uint8_t*>(allocAligned(size, alignment, 1));
            for (auto* block : {white, black}) EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignment, 0u);
            for (std::size_t i = 0; i < size; ++i) ASSERT_EQ(white[i] + black[i], 0xFF);
            freeAligned(white);
            freeAligned(black);
        }
    }
    auto* global = static_cast<std::uint8_t*>(allocGlobal(1000, 0));
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(global[i], 0) << "always zero";
    freeGlobal(global);
    freeAligned(nullptr);

    failAllocationAfter(2);
    void* first = alloc16(32, 1);
    EXPECT_TRUE(test::endsInFatalError([] { alloc16(32, 1); }, kAllocationFailedText));
    freeAligned(first);
    // A size whose padding would overflow fails the same way, without touching the heap.
    EXPECT_TRUE(test::endsInFatalError([] { allocAligned(SIZE_MAX - 4, 16, 0); }, kAllocationFailedText));
}

}  // namespace lw
