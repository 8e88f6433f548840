#include "host/clock.h"

#include "host/random.h"
#include "test_support.h"

namespace lw {

using ClockTest = test::HostTest;

TEST_F(ClockTest, ElapsedTimesAndThePaceRoundedToTheNearestMillisecond) {
    headless::setMilliseconds(500);
    clockMark(3);
    EXPECT_EQ(clockSlots[3], 50000);
    headless::advance(12);
    clockElapsed(3);
    EXPECT_EQ(clockSlots[3], 1200);
    clockSlots[4] = 90000;  // a reading later than now: a wrapped clock gives 0
    clockElapsed(4);
    EXPECT_EQ(clockSlots[4], 0);

    for (const auto& [work, slept] : {std::pair{2000, 13u}, {3284, 0u}, {3283, 1u}, {5000, 0u}, {0, 33u}}) {
        headless::reset();
        clockSlots[0] = work;
        framePace(30);
        EXPECT_EQ(headless::totalSleptMs(), slept) << "work " << work;
    }
}

TEST_F(ClockTest, AverageFpsWaitsForAFullRingThenFollowsEveryFrame) {
    fpsReset(10);
    for (int frame = 1; frame <= 10; ++frame) {
        frameBegin();
        headless::advance(50);  // 5000 units of work
        frameEnd();
        if (frame < 10) {
            ASSERT_EQ(frameRate.averageFps, 0) << "frame " << frame;
        }
    }
    EXPECT_EQ(frameRate.fpsRingFull, 1);
    EXPECT_EQ(frameRate.averageFps, 20);
    frameBegin();
    frameEnd();  // one frame of 0 units among nine of 5000
    EXPECT_EQ(frameRate.averageFps, static_cast<int>(100000.0 / (45000.0 / 10)));

    fpsReset(4);
    EXPECT_EQ(frameRate.fpsRingFull, 0);
    for (int frame = 0; frame < 4; ++frame) {
        frameBegin();
        frameEnd();
    }
    EXPECT_EQ(frameRate.averageFps, 400000) << "a sum of 0 counts as one unit";
}

TEST_F(ClockTest, RandomSequenceFromTheTickCount) {
    headless::setTickCount(1);
    seedRandom();
    // The classic generator: 1 gives 41, 18467, 6334, 26500, 19169.
    for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(rand15(), expected);
}

}  // namespace lw
