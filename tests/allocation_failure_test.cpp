// Every heap allocation of the scene's set-up and first frames made to fail in turn, on the real
// worker: each must end in the one memory message and a closed window, and (under the leak
// checker) leave nothing unreachable once the scene's own teardown has run.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "scene_on_worker.h"
#include "test_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define LW_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LW_LEAK_CHECK 1
#endif
#endif
#ifdef LW_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace lw {

namespace {

// True when the leak checker finds blocks that nothing points to any more; always false
// without it.
bool leaksFound() {
#ifdef LW_LEAK_CHECK
    return __lsan_do_recoverable_leak_check() != 0;
#else
    return false;
#endif
}

constexpr test::SceneRunOptions kRun{3, 96, 72, 1};

}  // namespace

class AllocationFailureTest : public test::HostTest {
protected:
    void SetUp() override { freshStart(); }
    void TearDown() override {
        test::tearDownScene();
        resetScene();
        HostTest::TearDown();
    }
    static void freshStart() {
        test::tearDownScene();
        resetAll();
        resetScene();
    }
    // Allocations a whole run makes: set-up, the frames and the normal end.
    static long allocationsOfARun() {
        freshStart();
        const long before = allocationCount();
        EXPECT_EQ(test::runSceneOnWorker(kRun), kRun.frames);
        EXPECT_TRUE(headless::messageBoxes().empty());
        return allocationCount() - before;
    }
    // What went wrong in a run whose k-th allocation failed; empty when it ended as it should.
    static std::string faultsOfFailingRun(long k) {
        freshStart();
        failAllocationAfter(k);
        const int frames = test::runSceneOnWorker(kRun);
        failAllocationAfter(0);
        std::ostringstream faults;
        const auto boxes = headless::messageBoxes();
        if (boxes.size() != 1) faults << " " << boxes.size() << " message boxes;";
        if (!boxes.empty() && (boxes[0].text != kAllocationFailedText || boxes[0].caption != L"Process Runtime Error")) {
            faults << " another message;";
        }
        if (!headless::closeRequested()) faults << " window left open;";
        if (headless::workerRunning()) faults << " worker still running;";
        if (frames >= kRun.frames) faults << " the run went on to its end;";
        test::tearDownScene();
        if (leaksFound()) faults << " leaked;";
        return faults.str();
    }
};

TEST_F(AllocationFailureTest, EveryAllocationOfSetUpAndFirstFramesEndsInTheMemoryMessage) {
    const long total = allocationsOfARun();
    // The set-up alone allocates the frame, the tables, 33 textures of four images, the particles.
    ASSERT_GT(total, 150);
    test::tearDownScene();
    ASSERT_FALSE(leaksFound()) << "leaks before any allocation failed";

    std::ostringstream failures;
    for (long k = 1; k <= total; ++k) {
        const std::string faults = faultsOfFailingRun(k);
        if (!faults.empty()) failures << "k=" << k << ":" << faults << "\n";
    }
    EXPECT_EQ(failures.str(), "");
    std::printf("allocation failures tried: every k from 1 to %ld (all of a %d-frame run)\n", total, kRun.frames);
}

TEST_F(AllocationFailureTest, AFailureAfterTheLastAllocationChangesNothing) {
    const long total = allocationsOfARun();
    freshStart();
    failAllocationAfter(total + 1);
    EXPECT_EQ(test::runSceneOnWorker(kRun), kRun.frames);
    failAllocationAfter(0);
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_EQ(peek(processEnded), 1);
}

}  // namespace lw
