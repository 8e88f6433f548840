#include "host/process.h"

#include <atomic>

#include "host/platform.h"
#include "test_support.h"

namespace lw {

using ProcessTest = test::HostTest;

namespace {
std::atomic<int> stepsAfterFatal{0};
std::atomic<int> processRuns{0};
std::atomic<int> loopsRun{0};

// Fails a few calls deep, as an allocation inside a frame would.
void allocateSomething() { fatalError(L"PSI: something went wrong"); }
void stepSystems() {
    allocateSomething();
    stepsAfterFatal += 1;
}
void runFrame() {
    stepSystems();
    stepsAfterFatal += 1;
}
}  // namespace

TEST_F(ProcessTest, FatalErrorInsideTheWorkerEndsItWithoutReturning) {
    stepsAfterFatal = 0;
    processHook = [] {
        runFrame();
        stepsAfterFatal += 1;
        fatalError(L"a second error cannot follow");
    };
    ASSERT_TRUE(startProcessThread());
    headless::joinWorker();

    EXPECT_EQ(stepsAfterFatal.load(), 0);
    const auto boxes = headless::messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"PSI: something went wrong");
    EXPECT_EQ(boxes[0].caption, L"Process Runtime Error");
    EXPECT_EQ(boxes[0].style, 0x10u);
    EXPECT_EQ(peek(processEnded), 1);
    EXPECT_EQ(peek(threadStopped), 1);
    EXPECT_TRUE(headless::closeRequested());
}

TEST_F(ProcessTest, ProcessThatReturnsClosesTheWindow) {
    processRuns = 0;
    processHook = [] { processRuns += 1; };
    ASSERT_TRUE(startProcessThread());
    headless::joinWorker();
    EXPECT_EQ(processRuns.load(), 1);
    EXPECT_EQ(peek(processEnded), 1);
    EXPECT_EQ(peek(threadStopped), 1);
    EXPECT_TRUE(headless::closeRequested());
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_EQ(headless::totalSleptMs(), 3u);  // the thread's start-up pause
}

TEST_F(ProcessTest, DefaultHooksShowTheirTexts) {
    ASSERT_TRUE(startProcessThread());
    headless::joinWorker();
    onTimerTick(kRedrawTimerId);
    const auto boxes = headless::messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"No process defined");
    EXPECT_EQ(boxes[0].caption, L"Process running");
    EXPECT_EQ(boxes[1].text, L"No Redraw function defined");
    EXPECT_EQ(boxes[1].style, 0x10u);
    EXPECT_TRUE(headless::closeRequested());
}

TEST_F(ProcessTest, ClosingTheWindowFromOutsideStopsARunningWorker) {
    loopsRun = 0;
    processHook = [] {
        for (;;) {
            loopsRun += 1;
            platform::sleepMs(1);
        }
    };
    ASSERT_TRUE(startProcessThread());
    while (loopsRun.load() < 3) std::this_thread::yield();
    headless::closeWindow();
    headless::joinWorker();
    EXPECT_FALSE(headless::workerRunning());
    EXPECT_EQ(peek(threadStopped), 1);
    EXPECT_EQ(peek(processEnded), 0);  // terminated, not ended
}

TEST_F(ProcessTest, TimerTicks) {
    EXPECT_TRUE(startTimer(0, 10000));
    EXPECT_TRUE(headless::timerActive(1000));
    headless::advance(9999);
    EXPECT_EQ(peek(timerFired[0]), 0);
    headless::advance(1);
    EXPECT_EQ(peek(timerFired[0]), 1);
    for (int n = 1; n < kUserTimerCount; ++n) ASSERT_EQ(peek(timerFired[n]), 0);

    EXPECT_TRUE(stopTimer(0));
    EXPECT_FALSE(headless::timerActive(1000));
    onTimerTick(1255);
    EXPECT_EQ(peek(timerFired[255]), 1);
    onTimerTick(999);   // ids outside the user range are dropped, never indexed
    onTimerTick(1256);
}

TEST_F(ProcessTest, RedrawTickDoesNotReenter) {
    static int redraws = 0;
    redraws = 0;
    redrawHook = [] {
        redraws += 1;
        onTimerTick(kRedrawTimerId);  // a tick arriving while the hook runs is dropped
    };
    onTimerTick(kRedrawTimerId);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(redrawBusy, 0);
    onTimerTick(kRedrawTimerId);
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(peek(timerFired[0]), 0);
}

}  // namespace lw
