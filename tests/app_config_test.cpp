#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_config.h"
#include "scene/scene.h"
#include "sprites/styles.h"
#include "test_support.h"

namespace lw {
namespace {

using AppConfigTest = test::HostTest;

std::vector<std::wstring> splitLines(const std::wstring& text) {
    std::vector<std::wstring> lines(1);
    for (wchar_t c : text) {
        if (c == L'\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

TEST_F(AppConfigTest, HelpTextIsElevenLinesInTwoLanguages) {
    const std::vector<std::wstring> expected = {
        L"", L"Exit - key Esc", L"", L"Other controls look at the left-down corner after Run.", L"", L"",
        L"\u0412\u044B\u0445\u043E\u0434 - \u043A\u043B\u0430\u0432\u0438\u0448\u0430 Esc", L"",
        L"\u041F\u0440\u043E\u0447\u0438\u0435 \u0443\u043F\u0440\u0430\u0432\u043B\u0435\u043D\u0438\u044F "
        L"\u0441\u043C\u043E\u0442\u0440\u0438\u0442\u0435 \u0432 \u043B\u0435\u0432\u043E\u043C-"
        L"\u043D\u0438\u0436\u043D\u0435\u043C \u0443\u0433\u043B\u0443   ",
        L"\u043F\u043E\u0441\u043B\u0435 \u0417\u0430\u043F\u0443\u0441\u043A\u0430.", L" "};
    EXPECT_EQ(splitLines(hostConfig.helpText), expected);
    EXPECT_EQ(std::wstring(hostConfig.helpCaption), L"    Lumenwaltz");
}

TEST_F(AppConfigTest, MakesAFullScreenLumenwaltzThatRunsTheScene) {
    headless::setScreenSize(1366, 768);
    EXPECT_EQ(std::wstring(hostConfig.windowClassName), L"Tavimer");
    EXPECT_EQ(applyAppConfig(), 1);
    EXPECT_EQ(hostConfig.showCursor, 0);
    EXPECT_EQ(std::wstring(hostConfig.windowClassName), L"Lumenwaltz");
    EXPECT_EQ(std::wstring(hostConfig.helpCaption), L"    Lumenwaltz");
    EXPECT_EQ(frameWidth, 1366);
    EXPECT_EQ(frameHeight, 768);
    EXPECT_EQ(fullScreen, 1);
    EXPECT_EQ(borderColour, 0xFF000000u);
    EXPECT_EQ(backgroundColour, 0xFFA08CF0u);
    EXPECT_EQ(processHook, sceneProcess);
    EXPECT_EQ(redrawHook, renderFrame);
    resetHostConfig();
    EXPECT_EQ(hostConfig.showCursor, 1);
    EXPECT_EQ(std::wstring(hostConfig.windowClassName), L"Tavimer");
}

}  // namespace
}  // namespace lw
