#include "host/random.h"

#include "test_support.h"

namespace lw {

using RandomTest = test::HostTest;

TEST_F(RandomTest, SequenceFromAKnownSeed) {
    seedRandomWith(1);
    // The classic generator: 1 gives 41, 18467, 6334, 26500, 19169.
    for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(rand15(), expected);
}

TEST_F(RandomTest, SeedComesFromTheTickCount) {
    headless::setTickCount(12345);
    seedRandom();
    EXPECT_EQ(randomState, 12345u);
    const int first = rand15();
    seedRandomWith(12345);
    EXPECT_EQ(rand15(), first);
}

TEST_F(RandomTest, ValuesStayIn15Bits) {
    seedRandomWith(0xDEADBEEF);
    int highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int v = rand15();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
        highest = std::max(highest, v);
    }
    EXPECT_GT(highest, 32000);
}

}  // namespace lw
