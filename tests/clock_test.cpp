#include "host/clock.h"

#include "test_support.h"

namespace lw {

using ClockTest = test::HostTest;

TEST_F(ClockTest, ElapsedIsZeroWhenTheClockDidNotAdvance) {
    headless::setMilliseconds(500);
    clockMark(3);
    EXPECT_EQ(clockSlots[3], 50000);
    clockElapsed(3);
    EXPECT_EQ(clockSlots[3], 0);

    clockSlots[4] = 90000;  // a reading later than now: wrapped clock
    clockElapsed(4);
    EXPECT_EQ(clockSlots[4], 0);

    clockMark(5);
    headless::advance(12);
    clockElapsed(5);
    EXPECT_EQ(clockSlots[5], 1200);
}

TEST_F(ClockTest, FramePaceRoundsTheRestToTheNearestMillisecond) {
    struct Case {
        int work;
        std::uint32_t sleptMs;
    };
    for (const Case c : {Case{2000, 13}, Case{3284, 0}, Case{3283, 1}, Case{3333, 0}, Case{5000, 0}, Case{0, 33}}) {
        headless::reset();
        clockSlots[0] = c.work;
        framePace(30);
        EXPECT_EQ(headless::totalSleptMs(), c.sleptMs) << "work " << c.work;
    }
}

TEST_F(ClockTest, AverageFpsWaitsForAFullRing) {
    fpsReset(10);
    for (int frame = 1; frame <= 10; ++frame) {
        frameBegin();
        headless::advance(50);  // 5000 units of work
        frameEnd();
        if (frame < 10) {
            EXPECT_EQ(averageFps, 0) << "frame " << frame;
            EXPECT_EQ(fpsRingFull, 0);
        }
    }
    EXPECT_EQ(fpsRingFull, 1);
    EXPECT_EQ(averageFps, 20);

    // From then on every frame updates it: one frame of 0 units among nine of 5000.
    frameBegin();
    frameEnd();
    EXPECT_EQ(averageFps, static_cast<int>(100000.0 / (45000.0 / 10)));
}

TEST_F(ClockTest, AverageFpsOfFramesThatTookNoTimeIsFinite) {
    fpsReset(4);
    for (int frame = 0; frame < 4; ++frame) {
        frameBegin();
        frameEnd();
    }
    EXPECT_EQ(fpsRingFull, 1);
    EXPECT_EQ(averageFps, 400000);  // a sum of 0 counts as one unit
}

TEST_F(ClockTest, FpsResetClearsTheRing) {
    fpsReset(2);
    frameBegin();
    headless::advance(10);
    frameEnd();
    frameEnd();
    EXPECT_EQ(fpsRingFull, 1);
    fpsReset(3);
    EXPECT_EQ(fpsRingFull, 0);
    EXPECT_EQ(averageFps, 0);
    EXPECT_EQ(fpsPosition, 0);
    EXPECT_EQ(fpsRing[0], 0);
}

}  // namespace lw
