#include "sprites/style.h"

#include "host/memory.h"
#include "test_support.h"

namespace lw {

class StyleTest : public test::HostTest {
protected:
    void TearDown() override {
        resetStyleTable();
        HostTest::TearDown();
    }
};

TEST_F(StyleTest, SelectingAnEmptySlotMakesADefaultStyle) {
    selectStyle(7);
    ASSERT_NE(currentStyle, nullptr);
    EXPECT_EQ(styleTable[7], currentStyle);
    EXPECT_EQ(currentStyle->kind, 0x10000u);
    EXPECT_EQ(currentStyle->useParticleColour, 1);
    EXPECT_EQ(currentStyle->depthCueScale, 1.0);
    EXPECT_EQ(currentStyle->next, -9);
    EXPECT_EQ(currentStyle->drawClipped, &linkDrawError);
    EXPECT_EQ(currentStyle->drawUnclipped, &linkDrawError);

    PBall* made = currentStyle;
    made->sizeScale = 3.0;
    selectStyle(8);
    selectStyle(7);  // occupied: nothing changes
    EXPECT_EQ(currentStyle, made);
    EXPECT_EQ(currentStyle->sizeScale, 3.0);
}

TEST_F(StyleTest, NewStyleFreesTheOldOneWithItsImages) {
    selectStyle(3);
    for (auto*& image : currentStyle->images) image = static_cast<std::uint32_t*>(allocAligned(kImageBytes, 1024, 1));
    currentStyle->sizeScale = 5.0;
    newStyle();  // the sanitizer build reports the images if they leak
    EXPECT_EQ(currentStyle->sizeScale, 1.0);
    EXPECT_EQ(currentStyle->images[0], nullptr);
    freeStyle();
    EXPECT_EQ(styleTable[3], nullptr);
}

TEST_F(StyleTest, KindCodesSplitIntoKindAndBlendMode) {
    EXPECT_EQ(spriteKindOf(0x30004), SpriteKind::Spot);
    EXPECT_EQ(blendModeOf(0x30004), BlendMode::Multiply);
    EXPECT_EQ(spriteKindOf(0x40000), SpriteKind::Disc);
    EXPECT_EQ(blendModeOf(0x40000), BlendMode::Default);
}

TEST_F(StyleTest, DrawingAStyleWithoutRoutinesAndBadIndexesAreFatal) {
    selectStyle(0);
    EXPECT_TRUE(test::endsInFatalError([] { currentStyle->drawUnclipped(); }, L"PSI: LinkDraw Error"));
    EXPECT_TRUE(test::endsInFatalError([] { selectStyle(512); }, L"PSI: style index out of range"));
    EXPECT_TRUE(test::endsInFatalError([] { selectStyle(-1); }, L"PSI: style index out of range"));
}

}  // namespace lw
