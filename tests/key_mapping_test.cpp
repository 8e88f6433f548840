#include "host/key_mapping.h"

#include <utility>
#include <vector>

#include "test_support.h"

namespace lw {

using namespace keymap;
using KeyMappingTest = test::HostTest;

namespace {

// Every key of the table as SDL names it, with the entry Windows' code for it has.
std::vector<std::pair<int, int>> tableKeys() {
    std::vector<std::pair<int, int>> keys = {
        {key::Escape, keyEntry::Escape},       {key::Return, keyEntry::Enter},
        {key::KeypadEnter, keyEntry::Enter},   {key::Space, keyEntry::Space},
        {key::LeftShift, keyEntry::Shift},     {key::RightShift, keyEntry::Shift},
        {key::LeftCtrl, keyEntry::Control},    {key::RightCtrl, keyEntry::Control},
        {key::LeftAlt, keyEntry::Alt},         {key::RightAlt, keyEntry::Alt},
        {key::Tab, keyEntry::Tab},             {key::Backspace, keyEntry::Backspace},
        {key::Delete, keyEntry::Delete},       {key::Insert, keyEntry::Insert},
        {key::Up, keyEntry::Up},               {key::Down, keyEntry::Down},
        {key::Left, keyEntry::Left},           {key::Right, keyEntry::Right},
    };
    for (int i = 0; i < 10; ++i) keys.emplace_back(key::F1 + i, keyEntry::F1 + i);
    for (int i = 0; i < 10; ++i) keys.emplace_back('0' + i, keyEntry::Digit0 + i);
    for (int i = 0; i < 26; ++i) keys.emplace_back('a' + i, keyEntry::LetterA + i);
    return keys;
}

int keyDownEntriesSet() {
    int count = 0;
    for (const auto& entry : inputState.keyDown) count += peek(entry);
    return count;
}

}  // namespace

TEST_F(KeyMappingTest, EveryTableEntryIsReachedByItsKey) {
    std::array<int, kKeyBlockSize> reached{};
    for (const auto& [keycode, entry] : tableKeys()) {
        const int virtualKey = virtualKeyFor(keycode, mod::NumLock);
        EXPECT_EQ(keyTableEntry(virtualKey), entry) << "keycode " << keycode;
        reached[keyTableEntry(virtualKey)] += 1;
    }
    for (int entry = 1; entry < kKeyBlockSize; ++entry) EXPECT_GE(reached[entry], 1) << "entry " << entry;
    EXPECT_EQ(virtualKeyFor('q', 0), 'Q');
    EXPECT_EQ(virtualKeyFor(key::F1 + 4, 0), 116);  // F5
}

TEST_F(KeyMappingTest, KeysOutsideTheTableHaveNoEntry) {
    for (int keycode : {key::F11, key::F12, key::Home, key::End, key::PageUp, key::PageDown, int{';'}, int{'['},
                        int{'/'}, keycodeOf(57) /* Caps Lock */, keycodeOf(101) /* Menu */, 0}) {
        EXPECT_EQ(keyTableEntry(virtualKeyFor(keycode, 0)), 0) << "keycode " << keycode;
    }
    // With Num Lock on the keypad's digits are keys of their own, not the digit row.
    for (int keycode = key::Keypad1; keycode <= key::KeypadPeriod; ++keycode) {
        EXPECT_EQ(keyTableEntry(virtualKeyFor(keycode, mod::NumLock)), 0) << "keycode " << keycode;
    }
}

TEST_F(KeyMappingTest, KeypadWithNumLockOffIsTheArrowsAndEditingKeys) {
    EXPECT_EQ(virtualKeyFor(key::Keypad1 + 7, 0), vk::Up);     // 8
    EXPECT_EQ(virtualKeyFor(key::Keypad1 + 1, 0), vk::Down);   // 2
    EXPECT_EQ(virtualKeyFor(key::Keypad1 + 3, 0), vk::Left);   // 4
    EXPECT_EQ(virtualKeyFor(key::Keypad1 + 5, 0), vk::Right);  // 6
    EXPECT_EQ(virtualKeyFor(key::Keypad0, 0), vk::Insert);
    EXPECT_EQ(virtualKeyFor(key::KeypadPeriod, 0), vk::Delete);
    EXPECT_EQ(keyTableEntry(virtualKeyFor(key::Keypad1 + 4, 0)), 0);  // 5 is Clear
    EXPECT_EQ(keyTableEntry(virtualKeyFor(key::Keypad9, 0)), 0);      // Page Up
}

TEST_F(KeyMappingTest, SystemKeysAreNotRecorded) {
    EXPECT_FALSE(recordKey(key::LeftAlt, mod::LeftAlt, true));
    EXPECT_FALSE(recordKey(key::F10, 0, true));
    EXPECT_FALSE(recordKey(key::F1 + 3, mod::LeftAlt, true));  // Alt+F4
    EXPECT_FALSE(recordKey(key::Escape, mod::RightAlt, false));
    EXPECT_FALSE(recordKey(key::LeftAlt, 0, false));
    EXPECT_EQ(keyDownEntriesSet(), 0);
    EXPECT_EQ(peek(inputState.keyUp[0]), 0);
    // Ctrl with Alt gives ordinary messages.
    EXPECT_TRUE(recordKey(key::Delete, mod::LeftCtrl | mod::RightAlt, true));
    EXPECT_EQ(peek(inputState.keyDown[keyEntry::Delete]), 1);
}

TEST_F(KeyMappingTest, PressesAndReleasesGoToTheirBlocks) {
    EXPECT_TRUE(recordKey(key::Escape, 0, true));
    EXPECT_EQ(peek(inputState.keyDown[0]), 1);
    EXPECT_EQ(peek(inputState.keyDown[keyEntry::Escape]), 1);
    EXPECT_EQ(peek(inputState.keyUp[keyEntry::Escape]), 0);
    EXPECT_TRUE(recordKey(key::Escape, 0, false));
    EXPECT_EQ(peek(inputState.keyUp[keyEntry::Escape]), 1);
    clearInput();
    // Shift changes no key's code: Shift+A records Shift and A.
    recordKey(key::LeftShift, mod::LeftShift, true);
    recordKey('a', mod::LeftShift, true);
    EXPECT_EQ(keyDownEntriesSet(), 3);
    EXPECT_EQ(peek(inputState.keyDown[keyEntry::LetterA]), 1);
    clearInput();
    recordKey(key::F11, 0, true);
    EXPECT_EQ(keyDownEntriesSet(), 1);
    EXPECT_EQ(peek(inputState.keyDown[0]), 1);
}

TEST_F(KeyMappingTest, ButtonsFillTheirFields) {
    struct Case {
        int button;
        const std::atomic<int>* field;
    };
    for (const Case& c : {Case{button::Left, &inputState.leftButton}, Case{button::Middle, &inputState.middleButton},
                          Case{button::Right, &inputState.rightButton}}) {
        resetInputState();
        EXPECT_TRUE(recordButton(c.button, true));
        EXPECT_EQ(peek(inputState.anyButtonDown), 1);
        EXPECT_EQ(peek(inputState.anyButtonUp), 0);
        EXPECT_EQ(peek(*c.field), 1);
        EXPECT_EQ(peek(inputState.leftButton) + peek(inputState.middleButton) + peek(inputState.rightButton), 1);
        resetInputState();
        EXPECT_TRUE(recordButton(c.button, false));
        EXPECT_EQ(peek(inputState.anyButtonDown), 0);
        EXPECT_EQ(peek(inputState.anyButtonUp), 1);
        EXPECT_EQ(peek(*c.field), 1);
    }
    resetInputState();
    EXPECT_FALSE(recordButton(button::X1, true));
    EXPECT_FALSE(recordButton(button::X2, false));
    EXPECT_EQ(peek(inputState.anyButtonDown) + peek(inputState.anyButtonUp), 0);
}

TEST_F(KeyMappingTest, WheelIsPackedAsWindowsPacksIt) {
    EXPECT_EQ(wheelParameter(1, false, 0, 0), 120 << 16);
    EXPECT_EQ(wheelParameter(3, false, 0, 0), 120 << 16);  // one notch per step
    const auto back = wheelParameter(-1, false, 0, 0);
    ASSERT_TRUE(back);
    EXPECT_LT(*back, 0);
    EXPECT_EQ(*back >> 16, -120);
    EXPECT_EQ(*back & 0xFFFF, 0);
    EXPECT_EQ(wheelParameter(1, true, 0, 0), back);
    EXPECT_EQ(wheelParameter(0, false, 0, 0), std::nullopt);
    // Held buttons and keys in the low half: left 0x01, right 0x02, Shift 0x04, Ctrl 0x08, middle 0x10.
    EXPECT_EQ(wheelParameter(1, false, 0x1 | 0x4, mod::RightCtrl), 120 << 16 | 0x0B);
    EXPECT_EQ(wheelParameter(1, false, 0x2, mod::LeftShift), 120 << 16 | 0x14);
    EXPECT_EQ(*wheelParameter(-2, false, 0x8 | 0x10, 0) & 0xFFFF, 0x60);

    EXPECT_FALSE(recordWheelStep(0, false, 0, 0));
    EXPECT_EQ(peek(inputState.wheel), 0);
    EXPECT_TRUE(recordWheelStep(-1, false, 0, 0));
    EXPECT_EQ(peek(inputState.wheel), *back);
}

TEST_F(KeyMappingTest, CoordinatesAreTheLow16BitsUnsigned) {
    recordMotion(10, 20);
    EXPECT_EQ(peek(inputState.mouseX), 10);
    recordMotion(-1, 20);
    EXPECT_EQ(peek(inputState.mouseX), 0xFFFF);
    EXPECT_EQ(peek(inputState.mouseDX), 10 - 0xFFFF);
    EXPECT_EQ(peek(inputState.mouseMoved), 1);
    recordMotion(0x1FFFF, 20);  // same low 16 bits: no movement
    EXPECT_EQ(peek(inputState.mouseMoved), 0);
}

}  // namespace lw
