#include "sprites/styles.h"

#include <cstring>

#include "sprite_fixtures.h"
#include "sprites/sprite_images.h"
#include "sprites/sprite_tables.h"
#include "test_support.h"

namespace lw {

namespace {

class StylesTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildSphereTable();
        buildDivisionTable();
    }
    static PBall& setUp(int slot, std::uint32_t kindCode, std::uint32_t colour, const wchar_t* imageName) {
        selectStyle(slot);
        setupStyle(*currentStyle, kindCode, colour, imageName);
        return *currentStyle;
    }
};

bool sameImages(const PBall& a, const PBall& b) {
    for (int q = 0; q < 4; ++q) {
        if (a.images[q] == nullptr || b.images[q] == nullptr) return false;
        if (std::memcmp(a.images[q], b.images[q], kImageBytes) != 0) return false;
    }
    return true;
}

}  // namespace

TEST_F(StylesTest, SetupGivesEachKindItsImagesAndRoutines) {
    EXPECT_EQ(setUp(2, 0x40000, 0xFF00FF00, L"").images[0], nullptr);
    // A Multiply spot's buffers are white before compSPOT draws into them, so its corners stay
    // white, which a multiply leaves alone.
    EXPECT_EQ(setUp(5, 0x30004, 0xFF204080, L"").images[3][255 * kImageSide + 255], 0xFFFFFFFFu);
    // A named procedural image overrides the kind's default.
    const PBall& ballSpot = setUp(6, 0x30002, 0xFF4080FF, L"compBALL");
    test::ImageStyle expectedBall(0x20000, 0xFF4080FF);
    buildBallImages(expectedBall.style);
    EXPECT_TRUE(sameImages(ballSpot, expectedBall.style));
    // Names are compared case-sensitively: "compball" is a resource name, and there is none.
    EXPECT_TRUE(test::endsInFatalError([] { setUp(7, 0x30002, 0xFFFFFFFF, L"compball"); }, L"PSI: JPG Resource Not Found"));
}

TEST_F(StylesTest, CopyGivesTheTargetItsOwnImagesAndTables) {
    const PBall& source = setUp(10, 0x30002, 0xFF80FF40, L"");
    copyStyle(10, 20);
    const PBall& copy = *styleTable[20];
    EXPECT_TRUE(sameImages(copy, source));
    for (int q = 0; q < 4; ++q) EXPECT_NE(copy.images[q], source.images[q]);
    ASSERT_NE(copy.spotTables, nullptr);
    EXPECT_NE(copy.spotTables, source.spotTables);
    setUp(1, 0x10000, 0xFFFFFFFF, L"");
    copyStyle(1, 20);  // the target's buffers have no counterpart to read
    EXPECT_EQ(styleTable[20]->spotTables, nullptr);
    EXPECT_TRUE(test::endsInFatalError([] { copyStyle(30, 2); }, L"PSI: PBall not defined"));
    EXPECT_TRUE(test::endsInFatalError([] { copyStyle(512, 2); }, L"PSI: style index out of range"));
}

}  // namespace lw
