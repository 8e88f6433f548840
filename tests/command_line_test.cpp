#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/command_line.h"

namespace lw {
namespace {

StartDecision decide(std::vector<std::wstring> arguments) {
    arguments.insert(arguments.begin(), L"C:\\Windows\\Lumenwaltz.scr");
    return parseCommandLine(arguments);
}

TEST(CommandLineTest, NoArgumentOrSlashSInAnyCaseRunsFullScreen) {
    for (const auto& args : std::vector<std::vector<std::wstring>>{{}, {L"/s"}, {L"/S"}, {L"/s", L"more"}}) {
        const auto decision = decide(args);
        EXPECT_EQ(decision.mode, StartMode::Full) << args.size();
        EXPECT_EQ(decision.previewParent, 0);
    }
    // Only the program itself, and not even that.
    EXPECT_EQ(parseCommandLine(std::vector<std::wstring>{}).mode, StartMode::Full);
}

TEST(CommandLineTest, SlashPWithAHandleAsksForThePreviewIntoThatWindow) {
    EXPECT_EQ(decide({L"/p", L"3605290"}).mode, StartMode::Preview);
    EXPECT_EQ(decide({L"/p", L"3605290"}).previewParent, 3605290);
    EXPECT_EQ(decide({L"/P", L"66"}).previewParent, 66);
    // Handles arrive as the decimal form of a sign-extended 32-bit value.
    EXPECT_EQ(decide({L"/p", L"-4"}).previewParent, -4);
    EXPECT_EQ(decide({L"/p", L" \t+17xyz"}).previewParent, 17);
}

TEST(CommandLineTest, AHandleThatReadsAsZeroEndsSilently) {
    for (const wchar_t* handle : {L"0", L"abc", L"", L"-0", L"x12", L"- 5"}) {
        const auto decision = decide({L"/p", handle});
        EXPECT_EQ(decision.mode, StartMode::Quit) << ::testing::PrintToString(std::wstring(handle));
        EXPECT_EQ(decision.previewParent, 0);
    }
}

TEST(CommandLineTest, EverythingElseShowsTheHelp) {
    const std::vector<std::vector<std::wstring>> cases = {
        {L"/c"}, {L"/c:132456"}, {L"/p"}, {L"/p", L"5", L"x"}, {L"/foo"}, {L"s"},
        {L"/ss"}, {L"/p 5"}, {L"-s"}, {L""}, {L"/a", L"/s"},
    };
    for (const auto& args : cases) EXPECT_EQ(decide(args).mode, StartMode::Help) << args.size() << " arguments";
}

TEST(CommandLineTest, ReadDecimalIntFollowsStrToIntW) {
    EXPECT_EQ(readDecimalInt(L""), 0);
    EXPECT_EQ(readDecimalInt(L"abc"), 0);
    EXPECT_EQ(readDecimalInt(L"  \t\r\n 12"), 12);
    EXPECT_EQ(readDecimalInt(L"12 34"), 12);
    EXPECT_EQ(readDecimalInt(L"-250"), -250);
    EXPECT_EQ(readDecimalInt(L"+250"), 250);
    EXPECT_EQ(readDecimalInt(L"+-5"), 0);
    EXPECT_EQ(readDecimalInt(L"007"), 7);
    EXPECT_EQ(readDecimalInt(L"2147483647"), 2147483647);
    EXPECT_EQ(readDecimalInt(L"-2147483648"), -2147483647 - 1);
    // Past 32 bits the value wraps: 2^32 + 1 reads as 1, and nothing overflows on the way.
    EXPECT_EQ(readDecimalInt(L"4294967297"), 1);
    // (10^26 - 1) mod 2^32 = 3825205247, which as an int is -469762049.
    EXPECT_EQ(readDecimalInt(L"99999999999999999999999999"), -469762049);
    // Full-width digits are not decimal digits to StrToIntW.
    EXPECT_EQ(readDecimalInt(L"\xFF11\xFF12"), 0);
}

}  // namespace
}  // namespace lw
