#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/linux/start_mode.h"
#include "host/linux/utf8.h"

namespace lw {
namespace {

using linuxhost::decideStart;
using linuxhost::readWindowId;

TEST(LinuxStartTest, WindowIdsAreDecimalOrHexadecimal) {
    EXPECT_EQ(readWindowId("0x2a00003"), 0x2a00003ul);
    EXPECT_EQ(readWindowId("0X1F"), 31ul);
    EXPECT_EQ(readWindowId("44040195"), 44040195ul);
    EXPECT_EQ(readWindowId("010"), 10ul);  // not octal
    EXPECT_EQ(readWindowId("0xFFFFFFFF"), 0xFFFFFFFFul);
    for (const char* bad : {"", "0", "0x", "0x0", "zz", "12ab", " 12", "-5", "+5", "0x-5", "0x100000000",
                            "99999999999999999999999"}) {
        EXPECT_EQ(readWindowId(bad), 0ul) << bad;
    }
}

TEST(LinuxStartTest, TheScreensaverCommandLineOfWindowsStands) {
    struct Case {
        std::vector<std::string> args;
        StartMode mode;
        std::intptr_t parent;
    };
    for (const Case& c : {Case{{}, StartMode::Full, 0}, Case{{"/s"}, StartMode::Full, 0},
                          Case{{"/S"}, StartMode::Full, 0}, Case{{"/p", "123"}, StartMode::Preview, 123},
                          Case{{"/p", "0"}, StartMode::Quit, 0}, Case{{"/p", "abc"}, StartMode::Quit, 0},
                          Case{{"/p"}, StartMode::Help, 0}, Case{{"/c"}, StartMode::Help, 0},
                          Case{{"/c:1234"}, StartMode::Help, 0}, Case{{"--frames", "3"}, StartMode::Help, 0}}) {
        const auto start = decideStart(c.args, nullptr);
        EXPECT_FALSE(start.hack);
        EXPECT_TRUE(start.error.empty());
        EXPECT_EQ(start.decision.mode, c.mode) << (c.args.empty() ? "" : c.args[0]);
        EXPECT_EQ(start.decision.previewParent, c.parent);
    }
    // An empty variable is no window.
    EXPECT_FALSE(decideStart({"/s"}, "").hack);
}

TEST(LinuxStartTest, HackModeFromOptionsOrTheVariable) {
    auto start = decideStart({"-window-id", "0x400007"}, nullptr);
    EXPECT_TRUE(start.hack);
    EXPECT_EQ(start.window, 0x400007ul);
    EXPECT_EQ(decideStart({"--window-id", "77"}, nullptr).window, 77ul);
    // The root window; XScreenSaver's own window stands in for it when there is one.
    start = decideStart({"-root"}, nullptr);
    EXPECT_TRUE(start.hack);
    EXPECT_EQ(start.window, 0ul);
    EXPECT_EQ(decideStart({"-root"}, "0x600001").window, 0x600001ul);
    EXPECT_EQ(decideStart({}, "0x600001").window, 0x600001ul);
    EXPECT_TRUE(decideStart({"/s"}, "0x600001").hack);
    // An explicit window wins over the variable; options a hack does not know are ignored.
    EXPECT_EQ(decideStart({"-fps", "-window-id", "9", "-root"}, "0x600001").window, 9ul);
    start = decideStart({"-root", "-fps", "-install"}, nullptr);
    EXPECT_TRUE(start.hack);
    EXPECT_TRUE(start.error.empty());
}

TEST(LinuxStartTest, UnreadableWindowIdsRunNothing) {
    for (const auto& start : {decideStart({"-window-id"}, nullptr), decideStart({"-window-id", "zz"}, nullptr),
                              decideStart({"-window-id", "0"}, nullptr), decideStart({"-root"}, "junk"),
                              decideStart({}, "0x")}) {
        EXPECT_FALSE(start.hack);
        EXPECT_FALSE(start.error.empty());
    }
    EXPECT_NE(decideStart({"-window-id", "zz"}, nullptr).error.find("'zz'"), std::string::npos);
}

TEST(Utf8Test, WideTextBecomesUtf8) {
    EXPECT_EQ(linuxhost::toUtf8(L"Esc"), "Esc");
    EXPECT_EQ(linuxhost::toUtf8(L"Выход"), "\xD0\x92\xD1\x8B\xD1\x85\xD0\xBE\xD0\xB4");
    EXPECT_EQ(linuxhost::toUtf8(L"\u00E9\u20AC\U0001F600"), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    const wchar_t broken[] = {L'a', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000), 0};
    EXPECT_EQ(linuxhost::toUtf8(broken), "a\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(linuxhost::toUtf8(std::wstring_view(L"a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(linuxhost::widenBytes("/p \xFF"), std::wstring(L"/p \u00FF"));
}

}  // namespace
}  // namespace lw
