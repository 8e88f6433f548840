#include "host/process.h"

#include <atomic>

#include "host/platform.h"
#include "test_support.h"

namespace lw {

using ProcessTest = test::HostTest;

namespace {
std::atomic<int> stepsAfterFatal{0};
int redraws = 0;

// Fails a few calls deep, as an allocation inside a frame would.
void stepSystems() {
    fatalError(L"PSI: something went wrong");
    stepsAfterFatal += 1;
}
}  // namespace

TEST_F(ProcessTest, AFatalErrorEndsTheWorkerWithoutReturningAndClosesTheWindow) {
    processHook = [] {
        stepSystems();
        stepsAfterFatal += 1;
    };
    ASSERT_TRUE(startProcessThread());
    headless::joinWorker();
    EXPECT_EQ(stepsAfterFatal.load(), 0);
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    const auto box = headless::messageBoxes()[0];
    EXPECT_EQ(box.text, L"PSI: something went wrong");
    EXPECT_EQ(box.caption, L"Process Runtime Error");
    EXPECT_EQ(box.style, 0x10u);
    EXPECT_EQ(peek(processEnded), 1);
    EXPECT_EQ(peek(threadStopped), 1);
    EXPECT_TRUE(headless::closeRequested());
    EXPECT_EQ(headless::totalSleptMs(), 3u) << "the thread's start-up pause";

    // The default hooks say that nothing was defined.
    headless::reset();
    resetProcessState();
    ASSERT_TRUE(startProcessThread());
    headless::joinWorker();
    onTimerTick(kRedrawTimerId);
    ASSERT_EQ(headless::messageBoxes().size(), 2u);
    EXPECT_EQ(headless::messageBoxes()[0].text, L"No process defined");
    EXPECT_EQ(headless::messageBoxes()[0].caption, L"Process running");
    EXPECT_EQ(headless::messageBoxes()[1].text, L"No Redraw function defined");
    EXPECT_TRUE(headless::closeRequested()) << "a process that returns closes the window too";
}

TEST_F(ProcessTest, UserTimersAndTheRedrawTick) {
    EXPECT_TRUE(startTimer(0, 10000));
    headless::advance(9999);
    EXPECT_EQ(peek(timerFired[0]), 0);
    headless::advance(1);
    EXPECT_EQ(peek(timerFired[0]), 1);
    timerFired[0].store(0);
    headless::advance(25000);  // ticks that pile up arrive as one, and the next is due at 40000
    EXPECT_EQ(peek(timerFired[0]), 1);
    timerFired[0].store(0);
    headless::advance(4999);
    EXPECT_EQ(peek(timerFired[0]), 0);
    EXPECT_TRUE(stopTimer(0));
    EXPECT_TRUE(startTimer(1, 0));  // a period of 0 ticks every millisecond
    headless::advance(2);
    EXPECT_EQ(peek(timerFired[1]), 1);
    EXPECT_FALSE(headless::timerActive(1000));
    onTimerTick(1255);
    EXPECT_EQ(peek(timerFired[255]), 1);
    onTimerTick(999);  // ids outside the user range are dropped, never indexed
    onTimerTick(1256);

    redrawHook = [] {
        redraws += 1;
        onTimerTick(kRedrawTimerId);  // a tick arriving while the hook runs is dropped
    };
    onTimerTick(kRedrawTimerId);
    onTimerTick(kRedrawTimerId);
    EXPECT_EQ(redraws, 2);
}

}  // namespace lw
