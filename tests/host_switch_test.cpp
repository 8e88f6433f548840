#include "host/linux/host_table.h"

#include "host/headless/host.h"
#include "test_support.h"

namespace lw {

namespace {

using HostSwitchTest = test::HostTest;

int fakeScreenWidth() { return 4321; }
int fakeScreenHeight() { return 1234; }
int fakeBoxes = 0;
int fakeMessageBox(const wchar_t*, const wchar_t*, unsigned) { return ++fakeBoxes; }

// The headless table with a few entries of its own; puts the headless host back when done.
struct FakeHost {
    linuxhost::HostTable table = headless::headlessHostTable;
    FakeHost() {
        table.screenWidth = fakeScreenWidth;
        table.screenHeight = fakeScreenHeight;
        table.messageBox = fakeMessageBox;
        linuxhost::useHost(table);
    }
    ~FakeHost() { linuxhost::useHost(headless::headlessHostTable); }
};

}  // namespace

TEST_F(HostSwitchTest, TheHeadlessHostIsActiveFromTheStart) {
    EXPECT_EQ(&linuxhost::activeHost(), &headless::headlessHostTable);
    headless::setScreenSize(640, 480);
    EXPECT_EQ(platform::screenWidth(), 640);
    platform::messageBox(L"text", L"caption", 0);
    EXPECT_EQ(headless::messageBoxes().size(), 1u);
}

TEST_F(HostSwitchTest, EveryCallGoesToTheActiveHost) {
    {
        FakeHost fake;
        EXPECT_EQ(&linuxhost::activeHost(), &fake.table);
        EXPECT_EQ(platform::screenWidth(), 4321);
        EXPECT_EQ(platform::screenHeight(), 1234);
        const int before = fakeBoxes;
        EXPECT_EQ(platform::messageBox(L"text", L"caption", 0), before + 1);
        EXPECT_TRUE(headless::messageBoxes().empty());
        // What the fake leaves alone is still the headless host's.
        headless::setMilliseconds(777);
        EXPECT_EQ(platform::milliseconds(), 777u);
        // The engine's own code reaches the active host too.
        setFrameSize(kScreenSize, 0);
        EXPECT_EQ(frameWidth, 4321);
        EXPECT_EQ(frameHeight, 1234);
    }
    EXPECT_EQ(platform::screenWidth(), 1024);
}

}  // namespace lw
