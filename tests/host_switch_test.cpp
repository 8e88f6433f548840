#include "host/linux/host_table.h"

#include "host/headless/host.h"
#include "test_support.h"

namespace lw {

namespace {

using HostSwitchTest = test::HostTest;

int fakeScreenWidth() { return 4321; }
int fakeScreenHeight() { return 1234; }

}  // namespace

TEST_F(HostSwitchTest, EveryCallGoesToTheActiveHostWhichStartsAsTheHeadlessOne) {
    EXPECT_EQ(&linuxhost::activeHost(), &headless::headlessHostTable);
    linuxhost::HostTable fake = headless::headlessHostTable;
    fake.screenWidth = fakeScreenWidth;
    fake.screenHeight = fakeScreenHeight;
    linuxhost::useHost(fake);
    // The engine's own code reaches the active host; what the fake leaves alone is still headless.
    setFrameSize(kScreenSize, 0);
    headless::setMilliseconds(777);
    const std::uint32_t now = platform::milliseconds();
    linuxhost::useHost(headless::headlessHostTable);
    EXPECT_EQ(frameWidth, 4321);
    EXPECT_EQ(frameHeight, 1234);
    EXPECT_EQ(now, 777u);
    EXPECT_EQ(platform::screenWidth(), 1024);
}

}  // namespace lw
