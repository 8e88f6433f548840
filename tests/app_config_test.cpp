#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/headless/headless.h"
#include "host/host_config.h"
#include "raster/frame_buffer.h"
#include "test_support.h"

namespace lw {
namespace {

int processCalls = 0;
int redrawCalls = 0;
void countingProcess() { ++processCalls; }
void countingRedraw() { ++redrawCalls; }

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

class HostConfigTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        savedProcess = registeredProcessHook();
        savedRedraw = registeredRedrawHook();
        processCalls = redrawCalls = 0;
    }
    void TearDown() override {
        registerAppHooks(savedProcess, savedRedraw);
        HostTest::TearDown();
    }
    Hook savedProcess = nullptr;
    Hook savedRedraw = nullptr;
};

TEST_F(HostConfigTest, HelpTextIsElevenLinesInTwoLanguages) {
    const auto lines = splitLines(hostConfig.helpText);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], L"");
    EXPECT_EQ(lines[1], L"Exit - key Esc");
    EXPECT_EQ(lines[3], L"Other controls look at the left-down corner after Run.");
    EXPECT_EQ(lines[6], L"\u0412\u044B\u0445\u043E\u0434 - \u043A\u043B\u0430\u0432\u0438\u0448\u0430 Esc");
    EXPECT_EQ(lines[8].substr(0, 6), L"\u041F\u0440\u043E\u0447\u0438\u0435");
    EXPECT_EQ(lines[8].substr(lines[8].size() - 4), L"\u0443   ");  // "...углу" and three blanks
    EXPECT_EQ(lines[9], L"\u043F\u043E\u0441\u043B\u0435 \u0417\u0430\u043F\u0443\u0441\u043A\u0430.");
    EXPECT_EQ(lines[10], L" ");
    for (int empty : {2, 4, 5, 7}) EXPECT_EQ(lines[empty], L"") << "line " << empty + 1;
    EXPECT_EQ(std::wstring(hostConfig.helpCaption), L"    Lumenwaltz");
}

TEST_F(HostConfigTest, ApplyAppConfigMakesAFullScreenLumenwaltzWithAHiddenCursor) {
    headless::setScreenSize(1366, 768);
    EXPECT_EQ(hostConfig.showCursor, 1);
    EXPECT_EQ(std::wstring(hostConfig.windowClassName), L"Tavimer");
    EXPECT_EQ(frameWidth, 240);
    EXPECT_EQ(backgroundColour, 0xFF000000u);
    EXPECT_EQ(applyAppConfig(), 1);
    EXPECT_EQ(hostConfig.showCursor, 0);
    EXPECT_EQ(std::wstring(hostConfig.windowClassName), L"Lumenwaltz");
    EXPECT_EQ(std::wstring(hostConfig.helpCaption), L"    Lumenwaltz");
    EXPECT_EQ(frameWidth, 1366);
    EXPECT_EQ(frameHeight, 768);
    EXPECT_EQ(fullScreen, 1);
    EXPECT_EQ(viewWidth, 1366);
    EXPECT_EQ(borderColour, 0xFF000000u);
    EXPECT_EQ(backgroundColour, 0xFFA08CF0u);
    resetHostConfig();
    EXPECT_EQ(std::wstring(hostConfig.windowClassName), L"Tavimer");
}

TEST_F(HostConfigTest, HooksRegisteredBeforeOrAfterTheConfigurationAreInstalled) {
    registerAppHooks(countingProcess, countingRedraw);
    EXPECT_EQ(processHook, defaultProcessHook);  // nothing happens before the configuration
    applyAppConfig();
    processHook();
    redrawHook();
    EXPECT_EQ(processCalls, 1);
    EXPECT_EQ(redrawCalls, 1);

    // The other order: the configuration ran first, the scene registers later.
    resetProcessState();
    registerAppHooks(nullptr, nullptr);
    applyAppConfig();
    EXPECT_EQ(processHook, defaultProcessHook);
    registerAppHooks(countingProcess, nullptr);
    EXPECT_EQ(processHook, countingProcess);
    EXPECT_EQ(redrawHook, defaultRedrawHook);  // a null function keeps the default
}

}  // namespace
}  // namespace lw
