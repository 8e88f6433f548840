#include "sprites/styles.h"

#include <cstring>

#include "sprite_test_support.h"
#include "sprites/sprite_images.h"
#include "sprites/sprite_tables.h"
#include "sprites/spot_routines.h"
#include "test_support.h"

namespace lw {

namespace {

class StylesTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        buildSphereTable();
    }

    // Sets up the style in slot and returns it.
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

bool hasNoImages(const PBall& style) {
    for (const auto* image : style.images) {
        if (image != nullptr) return false;
    }
    return true;
}

struct RoutineCase {
    std::uint32_t kindCode;
    DrawRoutine clipped;
    DrawRoutine unclipped;
};

}  // namespace

TEST_F(StylesTest, RoutinesFollowKindAndBlendMode) {
    const DrawRoutine error = linkDrawError;
    const RoutineCase cases[] = {
        {0x30000, spotAddClipped, spotAddUnclipped},
        {0x30001, spotNormalClipped, spotNormalUnclipped},
        {0x30002, spotAddClipped, spotAddUnclipped},
        {0x30003, spotSubtractClipped, spotSubtractUnclipped},
        {0x30004, spotMultiplyClipped, spotMultiplyUnclipped},
        {0x30005, error, error},
        {0x10002, error, error},  // a point has no Add
        {0x20003, error, error},  // a ball has no Subtract
        {0x50000, error, error},  // no such kind
        {0x40007, error, error},
    };
    for (const RoutineCase& c : cases) {
        const PBall& style = setUp(9, c.kindCode, 0xFFFFFFFF, L"");
        EXPECT_EQ(style.drawClipped, c.clipped) << std::hex << c.kindCode;
        EXPECT_EQ(style.drawUnclipped, c.unclipped) << std::hex << c.kindCode;
    }
}

TEST_F(StylesTest, SetupGivesEachKindItsImages) {
    const PBall& point = setUp(1, 0x10000, 0xFF7FC8FF, L"");
    EXPECT_EQ(point.kind, 0x10000u);
    EXPECT_EQ(point.colour, 0xFF7FC8FFu);
    EXPECT_TRUE(hasNoImages(point));

    const PBall& flatDisc = setUp(2, 0x40000, 0xFF00FF00, L"");
    EXPECT_TRUE(hasNoImages(flatDisc));

    const PBall& texturedDisc = setUp(3, 0x40000, 0xFFFFFFFF, L"KOR_05");
    test::ImageStyle expectedTexture(0x40000, 0xFFFFFFFF);
    loadTextureImages(expectedTexture.style, L"KOR_05");
    EXPECT_TRUE(sameImages(texturedDisc, expectedTexture.style));

    const PBall& ball = setUp(4, 0x20000, 0xFF4080FF, L"");
    test::ImageStyle expectedBall(0x20000, 0xFF4080FF);
    buildBallImages(expectedBall.style);
    EXPECT_TRUE(sameImages(ball, expectedBall.style));

    // A Multiply spot's buffers are white before compSPOT draws into them, so its corners stay
    // white, which a multiply leaves alone.
    const PBall& multiply = setUp(5, 0x30004, 0xFF204080, L"");
    test::ImageStyle expectedSpot(0x30004, 0xFF204080, 255);
    buildSpotImages(expectedSpot.style);
    EXPECT_TRUE(sameImages(multiply, expectedSpot.style));
    EXPECT_EQ(multiply.images[3][255 * kImageSide + 255], 0xFFFFFFFFu);
    EXPECT_EQ(multiply.images[3][0], 0xFF204080u);

    // A named procedural image overrides the kind's default.
    const PBall& ballSpot = setUp(6, 0x30002, 0xFF4080FF, L"compBALL");
    EXPECT_TRUE(sameImages(ballSpot, expectedBall.style));
    EXPECT_EQ(ballSpot.drawUnclipped, &spotAddUnclipped);

    // Names are compared case-sensitively: "compball" is a resource name, and there is none.
    EXPECT_TRUE(test::endsInFatalError([] { setUp(7, 0x30002, 0xFFFFFFFF, L"compball"); }, L"PSI: JPG Resource Not Found"));
}

TEST_F(StylesTest, SettingUpAgainReplacesTheImages) {
    setUp(1, 0x30002, 0xFFFFFFFF, L"");
    setUp(1, 0x30004, 0xFFFFFFFF, L"");  // the sanitizer build reports the first buffers if they leak
    const PBall& point = setUp(1, 0x10000, 0xFFFFFFFF, L"");
    EXPECT_TRUE(hasNoImages(point));

    failAllocationAfter(1);
    EXPECT_TRUE(test::endsInFatalError([] { setUp(2, 0x30002, 0xFFFFFFFF, L""); },
                                       L"memory allocation return is NULL, may be size allocation = 0"));
}

TEST_F(StylesTest, CopyGivesTheTargetItsOwnCopyOfEveryField) {
    PBall& source = setUp(10, 0x30002, 0xFF80FF40, L"");
    source.sizeScale = 2.5;
    source.depthCueScale = 0.75;
    source.innerRatio1 = 0.5;
    source.useParticleColour = 0;
    source.next = 11;

    copyStyle(10, 20);
    ASSERT_EQ(currentStyleIndex, 20);
    const PBall& copy = *styleTable[20];
    EXPECT_EQ(copy.kind, 0x30002u);
    EXPECT_EQ(copy.colour, 0xFF80FF40u);
    EXPECT_EQ(copy.sizeScale, 2.5);
    EXPECT_EQ(copy.depthCueScale, 0.75);
    EXPECT_EQ(copy.innerRatio1, 0.5);
    EXPECT_EQ(copy.useParticleColour, 0);
    EXPECT_EQ(copy.next, 11);
    EXPECT_EQ(copy.drawUnclipped, &spotAddUnclipped);
    EXPECT_TRUE(sameImages(copy, source));
    for (int q = 0; q < 4; ++q) EXPECT_NE(copy.images[q], source.images[q]);

    // A target with buffers keeps them and takes the source's texels.
    std::uint32_t* const kept = styleTable[20]->images[2];
    setUp(10, 0x30002, 0xFF0000FF, L"");
    copyStyle(10, 20);
    EXPECT_EQ(styleTable[20]->images[2], kept);
    EXPECT_TRUE(sameImages(*styleTable[20], *styleTable[10]));
}

TEST_F(StylesTest, CopyFromAStyleWithoutImagesLeavesNoneBehind) {
    setUp(1, 0x10000, 0xFFFFFFFF, L"");
    setUp(2, 0x30002, 0xFFFFFFFF, L"");
    copyStyle(1, 2);  // the target's buffers have no counterpart to read
    EXPECT_TRUE(hasNoImages(*styleTable[2]));
    EXPECT_EQ(styleTable[2]->kind, 0x10000u);

    const PBall* before = styleTable[2];
    copyStyle(2, 2);
    EXPECT_EQ(styleTable[2], before);

    EXPECT_TRUE(test::endsInFatalError([] { copyStyle(30, 2); }, L"PSI: PBall not defined"));
    EXPECT_TRUE(test::endsInFatalError([] { copyStyle(512, 2); }, L"PSI: style index out of range"));
    EXPECT_TRUE(test::endsInFatalError([] { copyStyle(1, -1); }, L"PSI: style index out of range"));
}

TEST_F(StylesTest, TextureStylesFillTheirSlotsInResourceOrder) {
    selectStyle(0);
    setupStyle(*currentStyle, 0x10000, 0xFF7FC8FF, L"");
    currentStyle->useParticleColour = 0;
    currentStyle->next = 40;
    textureSizeScale = 0.033;
    textureKind = 0x30001;
    textureColour = 0xFFFFFFFF;
    buildTextureStyles();

    EXPECT_EQ(textureStyleLast, 32);
    for (int slot = 0; slot <= 32; ++slot) {
        const PBall* style = styleTable[slot];
        ASSERT_NE(style, nullptr) << slot;
        EXPECT_EQ(style->kind, 0x30001u) << slot;  // slot 0 is no point style any more
        EXPECT_EQ(style->colour, 0xFFFFFFFFu) << slot;
        EXPECT_EQ(style->sizeScale, 0.033) << slot;
        EXPECT_EQ(style->useParticleColour, 0) << slot;  // inherited from the first
        EXPECT_EQ(style->next, 40) << slot;
        EXPECT_EQ(style->drawClipped, &spotNormalClipped) << slot;
    }
    EXPECT_EQ(styleTable[33], nullptr);

    // Slot 20 follows KOR_20: KOR_21 to KOR_30 are skipped.
    test::ImageStyle expected(0x30001, 0xFFFFFFFF);
    loadTextureImages(expected.style, L"KOR_31");
    EXPECT_TRUE(sameImages(*styleTable[20], expected.style));
    loadTextureImages(expected.style, L"KOR_43");
    EXPECT_TRUE(sameImages(*styleTable[32], expected.style));
}

TEST_F(StylesTest, TextureStylesFromAnotherFirstSlotWithJitteredColours) {
    textureStyleFirst = 100;
    textureColour = 0xFF808080;
    textureColourJitter = 40;
    buildTextureStyles();
    EXPECT_EQ(textureStyleLast, 132);
    EXPECT_EQ(styleTable[99], nullptr);
    // Each style draws its own jitter.
    int differing = 0;
    for (int slot = 101; slot <= 132; ++slot) differing += styleTable[slot]->colour != styleTable[slot - 1]->colour ? 1 : 0;
    EXPECT_GT(differing, 20);

    // Added one by one, a texture style comes after the last.
    EXPECT_EQ(addTextureStyle(L"KOR_01"), 133);
    EXPECT_EQ(styleTable[133]->sizeScale, styleTable[100]->sizeScale);
}

}  // namespace lw
