#include "host/input.h"

#include <cstdint>
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

// The Wayland host hears keysyms where the SDL host hears keycodes: the same key must give the
// same virtual-key code by either way, Num Lock on the keypad included.
TEST_F(InputTest, KeysymsGiveTheCodesTheirSdlKeysGive) {
    namespace sym = keymap::keysym;
    struct Pair {
        int keycode;
        std::uint32_t keysym;
        unsigned modifiers;
    };
    std::vector<Pair> pairs = {
        {key::Escape, sym::Escape, 0},        {key::Return, sym::Return, 0},         {key::KeypadEnter, sym::KeypadEnter, 0},
        {key::Space, sym::Space, 0},          {key::Tab, sym::Tab, 0},               {key::Tab, sym::LeftTab, 0},
        {key::Backspace, sym::Backspace, 0},  {key::Delete, sym::Delete, 0},         {key::Insert, sym::Insert, 0},
        {key::Home, sym::Home, 0},            {key::End, sym::End, 0},               {key::PageUp, sym::PageUp, 0},
        {key::PageDown, sym::PageDown, 0},    {key::Up, sym::Up, 0},                 {key::Down, sym::Down, 0},
        {key::Left, sym::Left, 0},            {key::Right, sym::Right, 0},           {key::F11, sym::F11, 0},
        {key::F12, sym::F12, 0},              {key::LeftShift, sym::LeftShift, 0},   {key::RightShift, sym::RightShift, 0},
        {key::LeftCtrl, sym::LeftCtrl, 0},    {key::RightCtrl, sym::RightCtrl, 0},   {key::LeftAlt, sym::LeftAlt, 0},
        {key::RightAlt, sym::RightAlt, 0},    {key::KeypadPeriod, sym::KeypadDelete, 0},
        {key::KeypadPeriod, sym::KeypadDecimal, mod::NumLock},
        {key::Keypad0, sym::KeypadInsert, 0}, {key::Keypad0, sym::Keypad0, mod::NumLock},
    };
    const std::uint32_t keypadWithoutNumLock[9] = {sym::KeypadEnd,  sym::KeypadDown,  sym::KeypadPageDown,
                                                   sym::KeypadLeft, sym::KeypadBegin, sym::KeypadRight,
                                                   sym::KeypadHome, sym::KeypadUp,    sym::KeypadPageUp};
    for (int i = 0; i < 9; ++i) {
        pairs.push_back({key::Keypad1 + i, keypadWithoutNumLock[i], 0});
        pairs.push_back({key::Keypad1 + i, sym::Keypad0 + 1 + static_cast<std::uint32_t>(i), mod::NumLock});
    }
    for (int i = 0; i < 10; ++i) pairs.push_back({key::F1 + i, sym::F1 + static_cast<std::uint32_t>(i), 0});
    for (int i = 0; i < 10; ++i) pairs.push_back({'0' + i, sym::Digit0 + static_cast<std::uint32_t>(i), 0});
    for (int i = 0; i < 26; ++i) {
        pairs.push_back({'a' + i, sym::LowerA + static_cast<std::uint32_t>(i), 0});
        pairs.push_back({'a' + i, sym::UpperA + static_cast<std::uint32_t>(i), 0});
    }
    for (const Pair& pair : pairs) {
        EXPECT_EQ(virtualKeyForKeysym(pair.keysym), virtualKeyFor(pair.keycode, pair.modifiers)) << std::hex << pair.keysym;
    }
    EXPECT_EQ(virtualKeyForKeysym(';'), kUntrackedKey);
    EXPECT_EQ(virtualKeyForKeysym(sym::AltGr), vk::Alt);

    EXPECT_FALSE(recordKeysym('q', mod::LeftAlt, true)) << "keys with Alt are system keys";
    EXPECT_TRUE(recordKeysym(sym::Escape, mod::LeftShift, false));
    EXPECT_EQ(peek(inputState.keyUp[keyEntry::Escape]), 1);
    EXPECT_EQ(entriesSet(inputState.keyDown), 0);
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
