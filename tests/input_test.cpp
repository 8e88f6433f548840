#include "host/input.h"

#include "test_support.h"

namespace lw {

using InputTest = test::HostTest;

TEST_F(InputTest, KeyTableCoversEverySixtyEntries) {
    std::array<int, kKeyBlockSize> seen{};
    for (int code = 0; code < 256; ++code) seen[keyTableEntry(code)] += 1;
    for (int entry = 1; entry < kKeyBlockSize; ++entry) EXPECT_EQ(seen[entry], 1) << "entry " << entry;
    EXPECT_EQ(keyTableEntry(27), 1);
    EXPECT_EQ(keyTableEntry(121), 13);  // F10
    EXPECT_EQ(keyTableEntry(57), 34);   // digit 9
    EXPECT_EQ(keyTableEntry(90), 60);   // Z
    EXPECT_EQ(keyTableEntry(vk::F11), 0);
}

TEST_F(InputTest, EscapePressedAndReleasedInOneFrame) {
    EXPECT_EQ(recordKeyPress(vk::Escape), 1);
    EXPECT_EQ(recordKeyRelease(vk::Escape), 1);
    EXPECT_EQ(peek(inputState.keyDown[0]), 1);
    EXPECT_EQ(peek(inputState.keyDown[keyEntry::Escape]), 1);
    EXPECT_EQ(peek(inputState.keyUp[0]), 1);
    EXPECT_EQ(peek(inputState.keyUp[keyEntry::Escape]), 1);
}

TEST_F(InputTest, KeyOutsideTheTableSetsOnlyEntryZero) {
    recordKeyPress(vk::F11);
    EXPECT_EQ(peek(inputState.keyDown[0]), 1);
    for (int entry = 1; entry < kKeyBlockSize; ++entry) EXPECT_EQ(peek(inputState.keyDown[entry]), 0);
    for (const auto& entry : inputState.keyUp) EXPECT_EQ(peek(entry), 0);
}

TEST_F(InputTest, ClickWithinOneFrame) {
    recordButtonPress(MouseButton::Left);
    recordButtonRelease(MouseButton::Left);
    EXPECT_EQ(peek(inputState.anyButtonDown), 1);
    EXPECT_EQ(peek(inputState.anyButtonUp), 1);
    EXPECT_EQ(peek(inputState.leftButton), 1);
    EXPECT_EQ(peek(inputState.rightButton), 0);
    recordButtonPress(MouseButton::Right);
    EXPECT_EQ(peek(inputState.rightButton), 1);
}

TEST_F(InputTest, MovesAndTheirDeltas) {
    recordMouseMove(100, 50);
    EXPECT_EQ(peek(inputState.mouseMoved), 1);
    EXPECT_EQ(peek(inputState.mouseDX), -100);
    recordMouseMove(90, 60);
    EXPECT_EQ(peek(inputState.mouseDX), 10);  // moved left: positive
    EXPECT_EQ(peek(inputState.mouseDY), -10);
    recordMouseMove(90, 60);  // same place clears the flag set by the earlier move
    EXPECT_EQ(peek(inputState.mouseMoved), 0);
    EXPECT_EQ(peek(inputState.mouseDX), 0);

    recordMouseMove(80, 60);
    clearInput();
    EXPECT_EQ(peek(inputState.mouseMoved), 0);
    EXPECT_EQ(peek(inputState.mouseX), 80);  // positions survive the clear
    EXPECT_EQ(peek(inputState.mouseY), 60);
    EXPECT_EQ(peek(inputState.mouseDX), 10);
    recordMouseMove(85, 60);
    EXPECT_EQ(peek(inputState.mouseDX), -5);  // relative to the kept position
}

TEST_F(InputTest, WheelKeepsTheWholeWordAndClearResetsEvents) {
    recordWheel(static_cast<int>(0xFF880000u));  // -120 in the high 16 bits
    EXPECT_LT(peek(inputState.wheel), 0);
    EXPECT_EQ(peek(inputState.wheel) >> 16, -120);
    recordKeyPress(vk::Space);
    recordButtonPress(MouseButton::Middle);
    clearInput();
    EXPECT_EQ(peek(inputState.wheel), 0);
    EXPECT_EQ(peek(inputState.middleButton), 0);
    EXPECT_EQ(peek(inputState.anyButtonDown), 0);
    for (const auto& entry : inputState.keyDown) EXPECT_EQ(peek(entry), 0);
}

}  // namespace lw
