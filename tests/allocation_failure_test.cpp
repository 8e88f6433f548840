// The whole program on the worker with something going wrong on purpose: every heap allocation of
// the set-up and first frames failing in turn, or a picture resource missing or damaged. Each
// must end in its one message box and a closed window, with nothing drawn and (under the leak
// checker) nothing left unreachable once the scene's own teardown has run.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "host/platform.h"
#include "picture_builders.h"
#include "scene_on_worker.h"
#include "test_support.h"

// The leak checker's own entry, there only in a sanitizer build.
extern "C" int __lsan_do_recoverable_leak_check() __attribute__((weak));

namespace lw {

namespace {

bool leaksFound() { return __lsan_do_recoverable_leak_check != nullptr && __lsan_do_recoverable_leak_check() != 0; }

constexpr test::SceneRunOptions kRun{3, 96, 72, 1};

std::vector<std::uint8_t> resourceBytes(const wchar_t* name, const wchar_t* type) {
    const auto bytes = platform::findResource(name, type);
    return {bytes.begin(), bytes.end()};
}

}  // namespace

class AllocationFailureTest : public test::HostTest {
protected:
    void TearDown() override {
        test::tearDownScene();
        HostTest::TearDown();
    }
    static void freshStart() {
        test::tearDownScene();
        resetAll();
    }
    // What went wrong in a run that should end at once with `message`; empty when it did.
    static std::string faultsOfFailingRun(const std::wstring& message) {
        const int frames = test::runSceneOnWorker(kRun);
        failAllocationAfter(0);
        std::ostringstream faults;
        const auto boxes = headless::messageBoxes();
        if (boxes.size() != 1) faults << " " << boxes.size() << " message boxes;";
        if (!boxes.empty() && (boxes[0].text != message || boxes[0].caption != L"Process Runtime Error")) {
            faults << " another message;";
        }
        if (!headless::closeRequested() || headless::workerRunning()) faults << " no clean end;";
        if (frames >= kRun.frames) faults << " the run went on to its end;";
        test::tearDownScene();
        if (leaksFound()) faults << " leaked;";
        return faults.str();
    }
};

TEST_F(AllocationFailureTest, EveryAllocationOfSetUpAndFirstFramesEndsInTheMemoryMessage) {
    const long before = allocationCount();
    ASSERT_EQ(test::runSceneOnWorker(kRun), kRun.frames);
    const long total = allocationCount() - before;
    ASSERT_GT(total, 150) << "the frame, the tables, 33 textures of four images, the particles";
    test::tearDownScene();
    ASSERT_FALSE(leaksFound()) << "leaks before any allocation failed";
    std::ostringstream failures;
    for (long k = 1; k <= total + 1; ++k) {
        freshStart();
        failAllocationAfter(k);
        if (k == total + 1) {
            EXPECT_EQ(test::runSceneOnWorker(kRun), kRun.frames) << "a failure after the last allocation changes nothing";
            EXPECT_TRUE(headless::messageBoxes().empty());
            break;
        }
        const std::string faults = faultsOfFailingRun(kAllocationFailedText);
        if (!faults.empty()) failures << "k=" << k << ":" << faults << "\n";
    }
    EXPECT_EQ(failures.str(), "");
    std::printf("allocation failures tried: every k from 1 to %ld (all of a %d-frame run)\n", total, kRun.frames);
}

TEST_F(AllocationFailureTest, AMissingOrDamagedPictureIsNamedAndStopsTheSetUp) {
    const auto damage = [](const wchar_t* name, const wchar_t* type, std::vector<std::uint8_t> bytes,
                           const std::wstring& message) {
        freshStart();
        headless::overrideResource(name, type, std::move(bytes));
        return faultsOfFailingRun(message);
    };
    const auto flat = [](int, int) -> std::uint32_t { return 0x808080; };
    auto texture = resourceBytes(L"KOR_43", kJpegResourceType);
    texture.resize(600);
    auto strip = resourceBytes(L"CONTROL_INFO", platform::kBitmapResourceType);
    strip.resize(strip.size() / 2);
    auto logo = resourceBytes(L"LUMENWALTZ", platform::kBitmapResourceType);
    test::put16(logo, 28, 7);  // an impossible depth over the same pixels
    EXPECT_EQ(damage(L"KOR_07", kJpegResourceType, {}, L"PSI: JPG Resource Not Found"), "");
    EXPECT_EQ(gdiplusUsers, 0) << "the texture loader hands the decoder back before it reports";
    EXPECT_EQ(damage(L"KOR_43", kJpegResourceType, texture, L"PSI: JPG Resource Not Found"), "");
    EXPECT_EQ(damage(L"KOR_12", kJpegResourceType, test::makeBmp(255, 254, 24, {}, flat),
                     L"PSI: JPG Resource Have Wrong Resolution"), "");
    EXPECT_EQ(damage(L"CONTROL_INFO", platform::kBitmapResourceType, strip, L"JPG or BMP Resource Not Found"), "");
    EXPECT_EQ(damage(L"LUMENWALTZ", platform::kBitmapResourceType, logo, L"JPG or BMP Resource Not Found"), "");

    // A logo of another valid depth still runs.
    freshStart();
    const std::vector<std::uint32_t> grey = {0xFF000000, 0xFF404040, 0xFF808080, 0xFFFFFFFF};
    headless::overrideResource(L"LUMENWALTZ", platform::kBitmapResourceType,
                               test::makeBmp(152, 12, 8, grey, [](int x, int) { return static_cast<std::uint32_t>(x % 4); }));
    EXPECT_EQ(test::runSceneOnWorker(kRun), kRun.frames);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

}  // namespace lw
