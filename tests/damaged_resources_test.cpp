// The whole program on the worker with one picture resource missing or damaged: the loader that
// needs it names the problem in one message box, the window closes and nothing is drawn.
#include <cstdint>
#include <string>
#include <vector>

#include "host/platform.h"
#include "picture_builders.h"
#include "scene_on_worker.h"
#include "test_support.h"

namespace lw {

namespace {

constexpr const wchar_t* kTextureMissing = L"PSI: JPG Resource Not Found";
constexpr const wchar_t* kTextureWrongSize = L"PSI: JPG Resource Have Wrong Resolution";
constexpr const wchar_t* kOverlayMissing = L"JPG or BMP Resource Not Found";

std::vector<std::uint8_t> resourceBytes(const wchar_t* name, const wchar_t* type) {
    const auto bytes = platform::findResource(name, type);
    return {bytes.begin(), bytes.end()};
}

// The logo with another bit count written into its header, the pixel data left as it was.
std::vector<std::uint8_t> logoWithBitCount(std::uint32_t bits) {
    auto bytes = resourceBytes(L"LUMENWALTZ", platform::kBitmapResourceType);
    test::put16(bytes, 28, bits);
    return bytes;
}

}  // namespace

class DamagedResourcesTest : public test::HostTest {
protected:
    void TearDown() override {
        test::tearDownScene();
        resetScene();
        HostTest::TearDown();
    }
    // Runs the program with the given resources replaced; true when it ended at once with the
    // one message given, the window closed.
    static ::testing::AssertionResult endsWith(const std::wstring& message) {
        const int frames = test::runSceneOnWorker({3, 96, 72, 1});
        const auto boxes = headless::messageBoxes();
        if (boxes.size() != 1) return ::testing::AssertionFailure() << boxes.size() << " message boxes";
        if (boxes[0].text != message || boxes[0].caption != L"Process Runtime Error") {
            return ::testing::AssertionFailure() << "the box says something else";
        }
        if (frames != 0 || headless::presentCount() != 0) return ::testing::AssertionFailure() << "frames were drawn";
        if (!headless::closeRequested() || headless::workerRunning()) return ::testing::AssertionFailure() << "no clean end";
        return ::testing::AssertionSuccess();
    }
    static bool runsNormally() {
        return test::runSceneOnWorker({3, 96, 72, 1}) == 3 && headless::messageBoxes().empty();
    }
};

TEST_F(DamagedResourcesTest, AMissingOrTruncatedTextureStopsTheSetUp) {
    headless::overrideResource(L"KOR_07", kJpegResourceType, {});
    EXPECT_TRUE(endsWith(kTextureMissing));
    // The texture loader hands the decoder back before it reports.
    EXPECT_EQ(gdiplusUsers, 0);
    EXPECT_FALSE(headless::imageDecoderRunning());

    for (std::size_t keep : {2000u, 600u, 3u}) {
        test::tearDownScene();
        resetAll();
        auto truncated = resourceBytes(L"KOR_43", kJpegResourceType);
        ASSERT_GT(truncated.size(), keep);
        truncated.resize(keep);
        headless::overrideResource(L"KOR_43", kJpegResourceType, truncated);
        EXPECT_TRUE(endsWith(kTextureMissing)) << "JPEG cut to " << keep << " bytes";
    }
}

TEST_F(DamagedResourcesTest, ATextureOfAnotherSizeIsRefusedByName) {
    const auto flat = [](int, int) -> std::uint32_t { return 0x808080; };
    for (auto [width, height] : {std::pair{256, 256}, std::pair{255, 254}, std::pair{1, 1}}) {
        test::tearDownScene();
        resetAll();
        headless::overrideResource(L"KOR_12", kJpegResourceType, test::makeBmp(width, height, 24, {}, flat));
        EXPECT_TRUE(endsWith(kTextureWrongSize)) << width << " x " << height;
    }
}

TEST_F(DamagedResourcesTest, AnOverlayBitmapOfAnImpossibleDepthOrCutShortIsNotFound) {
    for (std::uint32_t bits : {0u, 3u, 7u, 64u}) {
        test::tearDownScene();
        resetAll();
        headless::overrideResource(L"LUMENWALTZ", platform::kBitmapResourceType, logoWithBitCount(bits));
        EXPECT_TRUE(endsWith(kOverlayMissing)) << bits << " bits per pixel";
    }
    test::tearDownScene();
    resetAll();
    auto strip = resourceBytes(L"CONTROL_INFO", platform::kBitmapResourceType);
    strip.resize(strip.size() / 2);
    headless::overrideResource(L"CONTROL_INFO", platform::kBitmapResourceType, strip);
    EXPECT_TRUE(endsWith(kOverlayMissing));
}

TEST_F(DamagedResourcesTest, OverlayBitmapsOfOtherValidDepthsStillRun) {
    const std::vector<std::uint32_t> grey = {0xFF000000, 0xFF404040, 0xFF808080, 0xFFFFFFFF};
    const auto stripes = [](int x, int) -> std::uint32_t { return static_cast<std::uint32_t>(x % 4); };
    const auto colours = [](int x, int y) -> std::uint32_t { return static_cast<std::uint32_t>(x * 0x010203 + y); };
    for (int bits : {8, 24}) {
        test::tearDownScene();
        resetAll();
        headless::overrideResource(L"LUMENWALTZ", platform::kBitmapResourceType,
                                   test::makeBmp(152, 12, bits, bits == 8 ? grey : std::vector<std::uint32_t>{},
                                                 bits == 8 ? stripes : colours));
        EXPECT_TRUE(runsNormally()) << bits << " bits per pixel";
    }
}

}  // namespace lw
