#include "host/input.h"

#include <utility>
#include <vector>

#include "host/key_mapping.h"
#include "test_support.h"

namespace lw {

using namespace keymap;
using InputTest = test::HostTest;

namespace {

// Every key of the table as SDL names it, with the entry Windows' code for it has.
std::vector<std::pair<int, int>> tableKeys() {
    std::vector<std::pair<int, int>> keys = {
        {key::Escape, keyEntry::Escape},  {key::Return, keyEntry::Enter},      {key::KeypadEnter, keyEntry::Enter},
        {key::Space, keyEntry::Space},    {key::LeftShift, keyEntry::Shift},   {key::RightCtrl, keyEntry::Control},
        {key::LeftAlt, keyEntry::Alt},    {key::Tab, keyEntry::Tab},           {key::Backspace, keyEntry::Backspace},
        {key::Delete, keyEntry::Delete},  {key::Insert, keyEntry::Insert},     {key::Up, keyEntry::Up},
        {key::Down, keyEntry::Down},      {key::Left, keyEntry::Left},         {key::Right, keyEntry::Right},
    };
    for (int i = 0; i < 10; ++i) keys.emplace_back(key::F1 + i, keyEntry::F1 + i);
    for (int i = 0; i < 10; ++i) keys.emplace_back('0' + i, keyEntry::Digit0 + i);
    for (int i = 0; i < 26; ++i) keys.emplace_back('a' + i, keyEntry::LetterA + i);
    return keys;
}

int entriesSet(const std::array<std::atomic<int>, kKeyBlockSize>& block) {
    int count = 0;
    for (const auto& entry : block) count += peek(entry);
    return count;
}

}  // namespace

TEST_F(InputTest, EveryTableEntryIsReachedByItsKeyAndOnlyByIt) {
    std::array<int, kKeyBlockSize> reached{};
    for (int code = 0; code < 256; ++code) reached[keyTableEntry(code)] += 1;
    for (int entry = 1; entry < kKeyBlockSize; ++entry) EXPECT_EQ(reached[entry], 1) << "entry " << entry;
    for (const auto& [keycode, entry] : tableKeys()) EXPECT_EQ(keyTableEntry(virtualKeyFor(keycode, 0)), entry) << keycode;
    for (int keycode : {key::F11, key::Home, key::PageDown, int{';'}, key::Keypad1 + 4 /* Clear */, key::Keypad9}) {
        EXPECT_EQ(keyTableEntry(virtualKeyFor(keycode, 0)), 0) << "keycode " << keycode;
    }
    // With Num Lock off the keypad is the arrows and editing keys; on, keys of their own.
    EXPECT_EQ(virtualKeyFor(key::Keypad1, 0), 35);  // End
    EXPECT_EQ(virtualKeyFor(key::Keypad1 + 7, 0), vk::Up);
    EXPECT_EQ(virtualKeyFor(key::Keypad1 + 3, 0), vk::Left);
    EXPECT_EQ(virtualKeyFor(key::Keypad0, 0), vk::Insert);
    for (int keycode = key::Keypad1; keycode <= key::KeypadPeriod; ++keycode) {
        EXPECT_EQ(keyTableEntry(virtualKeyFor(keycode, mod::NumLock)), 0) << "keycode " << keycode;
    }
}

TEST_F(InputTest, KeysAndButtonsGoToTheirBlocksAndFields) {
    EXPECT_FALSE(recordKey(key::F10, 0, true)) << "system keys are not recorded";
    EXPECT_FALSE(recordKey(key::F1 + 3, mod::LeftAlt, true));
    EXPECT_TRUE(recordKey(key::Delete, mod::LeftCtrl | mod::RightAlt, true)) << "Ctrl with Alt is ordinary";
    EXPECT_TRUE(recordKey(key::Escape, 0, false));
    EXPECT_TRUE(recordKey(key::F11, 0, true));
    EXPECT_EQ(entriesSet(inputState.keyDown), 2) << "entry 0 and Delete; F11 has no entry of its own";
    EXPECT_EQ(peek(inputState.keyDown[keyEntry::Delete]), 1);
    EXPECT_EQ(entriesSet(inputState.keyUp), 2);
    EXPECT_EQ(peek(inputState.keyUp[keyEntry::Escape]), 1);

    EXPECT_TRUE(recordButton(button::Right, false));
    EXPECT_EQ(peek(inputState.anyButtonUp), 1);
    EXPECT_EQ(peek(inputState.anyButtonDown), 0);
    EXPECT_TRUE(recordButton(button::Middle, true));
    EXPECT_EQ(peek(inputState.leftButton) + peek(inputState.middleButton) + peek(inputState.rightButton), 2);
    EXPECT_FALSE(recordButton(button::X1, true));

    EXPECT_EQ(wheelParameter(3, false, 0, 0), 120 << 16) << "one notch per step";
    EXPECT_EQ(wheelParameter(1, true, 0, 0), wheelParameter(-1, false, 0, 0));
    EXPECT_EQ(*wheelParameter(-1, false, 0, 0) >> 16, -120);
    EXPECT_EQ(wheelParameter(0, false, 0, 0), std::nullopt);
    // Held buttons and keys in the low half: left 0x01, right 0x02, Shift 0x04, Ctrl 0x08, middle 0x10.
    EXPECT_EQ(wheelParameter(1, false, 0x1 | 0x4, mod::RightCtrl), 120 << 16 | 0x0B);
    EXPECT_EQ(wheelParameter(1, false, 0x2, mod::LeftShift), 120 << 16 | 0x14);
    EXPECT_TRUE(recordWheelStep(-1, false, 0, 0));
    EXPECT_EQ(peek(inputState.wheel), *wheelParameter(-1, false, 0, 0));

    clearInput();
    EXPECT_EQ(entriesSet(inputState.keyDown) + entriesSet(inputState.keyUp), 0);
    EXPECT_EQ(peek(inputState.wheel) + peek(inputState.middleButton) + peek(inputState.anyButtonUp), 0);
}

TEST_F(InputTest, MovesAreLow16BitsAndTheirDeltasCountFromTheLastPosition) {
    recordMotion(100, 50);
    recordMotion(90, 60);
    EXPECT_EQ(peek(inputState.mouseDX), 10) << "moved left: positive";
    EXPECT_EQ(peek(inputState.mouseDY), -10);
    EXPECT_EQ(peek(inputState.mouseMoved), 1);
    clearInput();
    EXPECT_EQ(peek(inputState.mouseMoved), 0);
    EXPECT_EQ(peek(inputState.mouseX), 90) << "positions survive the clear";
    recordMotion(-1, 60);
    EXPECT_EQ(peek(inputState.mouseX), 0xFFFF);
    EXPECT_EQ(peek(inputState.mouseDX), 90 - 0xFFFF);
    recordMotion(0x1FFFF, 60);  // the same low 16 bits: no movement
    EXPECT_EQ(peek(inputState.mouseMoved), 0);
}

}  // namespace lw
