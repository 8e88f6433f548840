#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/linux/desktop_choice.h"
#include "host/linux/start_mode.h"
#include "host/linux/utf8.h"

namespace lw {
namespace {

using linuxhost::decideStart;
using linuxhost::readWindowId;

StartDecision decide(std::vector<std::wstring> arguments) {
    arguments.insert(arguments.begin(), L"C:\\Windows\\Lumenwaltz.scr");
    return parseCommandLine(arguments);
}

TEST(CommandLineTest, TheScreensaversThreeModes) {
    for (const auto& args : std::vector<std::vector<std::wstring>>{{}, {L"/s"}, {L"/S"}, {L"/s", L"more"}}) {
        EXPECT_EQ(decide(args).mode, StartMode::Full) << args.size();
    }
    EXPECT_EQ(decide({L"/P", L"3605290"}).mode, StartMode::Preview);
    EXPECT_EQ(decide({L"/P", L"3605290"}).previewParent, 3605290);
    EXPECT_EQ(decide({L"/p", L"-4"}).previewParent, -4) << "a sign-extended 32-bit handle";
    EXPECT_EQ(decide({L"/p", L"\v+17xyz"}).previewParent, 17);
    for (const wchar_t* handle : {L"0", L"abc", L"-0", L"- 5"}) EXPECT_EQ(decide({L"/p", handle}).mode, StartMode::Quit);
    for (const auto& args : std::vector<std::vector<std::wstring>>{{L"/c:132456"}, {L"/p"}, {L"/p", L"5", L"x"},
                                                                    {L"/ss"}, {L"-s"}, {L"/a", L"/s"}}) {
        EXPECT_EQ(decide(args).mode, StartMode::Help) << args.size() << " arguments";
    }
    EXPECT_EQ(readDecimalInt(L"2147483647"), 2147483647);
    EXPECT_EQ(readDecimalInt(L"+-5"), 0);
    // Past 32 bits the value wraps: (10^26 - 1) mod 2^32 = 3825205247, which as an int is -469762049.
    EXPECT_EQ(readDecimalInt(L"99999999999999999999999999"), -469762049);
}

TEST(CommandLineTest, LinuxHackModeAndTheWindowsCommandLine) {
    EXPECT_EQ(decideStart({"/p", "123"}, nullptr).decision.previewParent, 123);
    EXPECT_EQ(decideStart({"/c"}, "").decision.mode, StartMode::Help) << "an empty variable is no window";
    EXPECT_EQ(readWindowId("0x2a00003"), 0x2a00003ul);
    EXPECT_EQ(readWindowId("010"), 10ul) << "not octal";
    EXPECT_EQ(readWindowId("0xFFFFFFFF"), 0xFFFFFFFFul);
    for (const char* bad : {"0", "0x", "12ab", " 12", "-5", "0x100000000"}) EXPECT_EQ(readWindowId(bad), 0ul) << bad;

    EXPECT_EQ(decideStart({"--window-id", "77"}, nullptr).window, 77ul);
    const auto root = decideStart({"-root", "-fps"}, nullptr);
    EXPECT_TRUE(root.hack);
    EXPECT_EQ(root.window, 0ul);
    EXPECT_EQ(decideStart({"-root"}, "0x600001").window, 0x600001ul) << "XScreenSaver's window stands in for the root";
    EXPECT_EQ(decideStart({"/s"}, "0x600001").window, 0x600001ul);
    EXPECT_EQ(decideStart({"-fps", "-window-id", "9"}, "0x600001").window, 9ul) << "an explicit window wins";
    for (const auto& start : {decideStart({"-window-id"}, nullptr), decideStart({"-root"}, "junk")}) {
        EXPECT_FALSE(start.hack);
        EXPECT_FALSE(start.error.empty());
    }
    EXPECT_NE(decideStart({"-window-id", "zz"}, nullptr).error.find("'zz'"), std::string::npos);

    EXPECT_EQ(linuxhost::toUtf8(L"\u00E9\u20AC\U0001F600"), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    const wchar_t broken[] = {L'a', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000), 0};
    EXPECT_EQ(linuxhost::toUtf8(broken), "a\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(linuxhost::widenBytes("/p \xFF"), std::wstring(L"/p \u00FF"));
}

// Which desktop host runs: Wayland in a Wayland session, X11 otherwise, LW_DISPLAY over both;
// the preview and the hack modes always X, and a line instead when there is none.
TEST(CommandLineTest, TheDesktopHostFollowsTheSessionAndTheOverride) {
    using linuxhost::DesktopHost;
    const auto full = decideStart({"/s"}, nullptr);
    const auto hack = decideStart({"-root"}, nullptr);
    const auto preview = decideStart({"/p", "12"}, nullptr);
    const auto badId = decideStart({"-window-id", "zz"}, nullptr);
    struct Case {
        const linuxhost::LinuxStart& start;
        const char* lwDisplay;
        const char* waylandDisplay;
        const char* xDisplay;
        DesktopHost host;
        bool refused;
    };
    const Case cases[] = {
        {full, nullptr, "wayland-0", ":0", DesktopHost::Wayland, false},
        {full, nullptr, "", ":0", DesktopHost::X11, false},
        {full, nullptr, nullptr, nullptr, DesktopHost::X11, false},
        {full, "x11", "wayland-0", nullptr, DesktopHost::X11, false},
        {full, "wayland", nullptr, ":0", DesktopHost::Wayland, false},
        {full, "", "wayland-0", nullptr, DesktopHost::Wayland, false},
        {full, "Wayland", "wayland-0", ":0", DesktopHost::X11, true},
        {hack, "wayland", "wayland-0", ":0", DesktopHost::X11, false},
        {hack, nullptr, "wayland-0", nullptr, DesktopHost::X11, true},
        {preview, nullptr, "wayland-0", "", DesktopHost::X11, true},
        {badId, nullptr, "wayland-0", nullptr, DesktopHost::X11, false},
    };
    for (const Case& c : cases) {
        const auto choice = linuxhost::chooseDesktop(c.start, c.lwDisplay, c.waylandDisplay, c.xDisplay);
        const std::string label = std::string(c.lwDisplay ? c.lwDisplay : "-") + " " +
                                  (c.waylandDisplay ? c.waylandDisplay : "-") + " " + (c.xDisplay ? c.xDisplay : "-");
        EXPECT_EQ(!choice.refusal.empty(), c.refused) << label;
        if (!c.refused) {
            EXPECT_EQ(choice.host, c.host) << label;
        }
    }
    EXPECT_NE(linuxhost::chooseDesktop(hack, nullptr, "w", nullptr).refusal.find("X display"), std::string::npos);
}

}  // namespace
}  // namespace lw
