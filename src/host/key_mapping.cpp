#include "host/key_mapping.h"

namespace lw::keymap {

namespace {

constexpr unsigned kAltMods = mod::LeftAlt | mod::RightAlt;
constexpr unsigned kCtrlMods = mod::LeftCtrl | mod::RightCtrl;
constexpr unsigned kShiftMods = mod::LeftShift | mod::RightShift;

// MK_* bits of a mouse message's key state.
constexpr int kMkLeft = 0x01, kMkRight = 0x02, kMkShift = 0x04, kMkControl = 0x08, kMkMiddle = 0x10,
              kMkX1 = 0x20, kMkX2 = 0x40;
constexpr int kWheelDelta = 120;

// Win32 codes of keys outside the key table that the keypad turns into with Num Lock off.
constexpr int kVkClear = 12, kVkPrior = 33, kVkNext = 34, kVkEnd = 35, kVkHome = 36, kVkNumpad0 = 96,
              kVkF11 = 122, kVkF12 = 123;

// Keypad 1..9 with Num Lock off, as Windows reports them.
constexpr int kKeypadNavigation[9] = {kVkEnd,  vk::Down, kVkNext, vk::Left, kVkClear,
                                      vk::Right, kVkHome, vk::Up,   kVkPrior};

int keypadKey(int keycode, bool numLock) {
    if (keycode == key::Keypad0) return numLock ? kVkNumpad0 : vk::Insert;
    if (keycode == key::KeypadPeriod) return numLock ? kUntrackedKey : vk::Delete;
    const int digit = keycode - key::Keypad1 + 1;
    return numLock ? kVkNumpad0 + digit : kKeypadNavigation[digit - 1];
}

int buttonBit(int sdlButton) { return 1 << (sdlButton - 1); }

bool record(int virtualKey, unsigned modifiers, bool pressed) {
    if (arrivesAsSystemKey(virtualKey, modifiers)) return false;
    if (pressed) {
        recordKeyPress(virtualKey);
    } else {
        recordKeyRelease(virtualKey);
    }
    return true;
}

// Keysyms that name a key of their own, each with its keypad twin where the keypad has one.
struct KeysymKey {
    std::uint32_t sym;
    int virtualKey;
};
constexpr KeysymKey kKeysymKeys[] = {
    {keysym::Escape, vk::Escape},         {keysym::Return, vk::Enter},         {keysym::KeypadEnter, vk::Enter},
    {keysym::Space, vk::Space},           {keysym::Tab, vk::Tab},              {keysym::LeftTab, vk::Tab},
    {keysym::Backspace, vk::Backspace},   {keysym::Delete, vk::Delete},        {keysym::KeypadDelete, vk::Delete},
    {keysym::Insert, vk::Insert},         {keysym::KeypadInsert, vk::Insert},  {keysym::Up, vk::Up},
    {keysym::KeypadUp, vk::Up},           {keysym::Down, vk::Down},            {keysym::KeypadDown, vk::Down},
    {keysym::Left, vk::Left},             {keysym::KeypadLeft, vk::Left},      {keysym::Right, vk::Right},
    {keysym::KeypadRight, vk::Right},     {keysym::Home, kVkHome},             {keysym::KeypadHome, kVkHome},
    {keysym::End, kVkEnd},                {keysym::KeypadEnd, kVkEnd},         {keysym::PageUp, kVkPrior},
    {keysym::KeypadPageUp, kVkPrior},     {keysym::PageDown, kVkNext},         {keysym::KeypadPageDown, kVkNext},
    {keysym::KeypadBegin, kVkClear},      {keysym::F11, kVkF11},               {keysym::F12, kVkF12},
    {keysym::LeftShift, vk::Shift},       {keysym::RightShift, vk::Shift},     {keysym::LeftCtrl, vk::Control},
    {keysym::RightCtrl, vk::Control},     {keysym::LeftAlt, vk::Alt},          {keysym::RightAlt, vk::Alt},
    {keysym::AltGr, vk::Alt},
};

}  // namespace

int virtualKeyFor(int keycode, unsigned modifiers) {
    if (keycode >= key::LetterA && keycode <= key::LetterA + 25) return vk::LetterA + (keycode - key::LetterA);
    if (keycode >= key::Digit0 && keycode <= key::Digit0 + 9) return keycode;
    if (keycode >= key::F1 && keycode <= key::F10) return vk::F1 + (keycode - key::F1);
    if ((keycode >= key::Keypad1 && keycode <= key::KeypadPeriod)) {
        return keypadKey(keycode, (modifiers & mod::NumLock) != 0);
    }
    switch (keycode) {
        case key::Escape: return vk::Escape;
        case key::Return:
        case key::KeypadEnter: return vk::Enter;
        case key::Space: return vk::Space;
        case key::Tab: return vk::Tab;
        case key::Backspace: return vk::Backspace;
        case key::Delete: return vk::Delete;
        case key::Insert: return vk::Insert;
        case key::Up: return vk::Up;
        case key::Down: return vk::Down;
        case key::Left: return vk::Left;
        case key::Right: return vk::Right;
        case key::Home: return kVkHome;
        case key::End: return kVkEnd;
        case key::PageUp: return kVkPrior;
        case key::PageDown: return kVkNext;
        case key::F11: return kVkF11;
        case key::F12: return kVkF12;
        case key::LeftShift:
        case key::RightShift: return vk::Shift;
        case key::LeftCtrl:
        case key::RightCtrl: return vk::Control;
        case key::LeftAlt:
        case key::RightAlt: return vk::Alt;
        default: return kUntrackedKey;
    }
}

bool arrivesAsSystemKey(int virtualKey, unsigned modifiers) {
    if (virtualKey == vk::Alt || virtualKey == vk::F10) return true;
    return (modifiers & kAltMods) != 0 && (modifiers & kCtrlMods) == 0;
}

int virtualKeyForKeysym(std::uint32_t sym) {
    if (sym >= keysym::LowerA && sym <= keysym::LowerA + 25) return vk::LetterA + static_cast<int>(sym - keysym::LowerA);
    if (sym >= keysym::UpperA && sym <= keysym::UpperA + 25) return vk::LetterA + static_cast<int>(sym - keysym::UpperA);
    if (sym >= keysym::Digit0 && sym <= keysym::Digit0 + 9) return static_cast<int>(sym);
    if (sym >= keysym::F1 && sym <= keysym::F10) return vk::F1 + static_cast<int>(sym - keysym::F1);
    if (sym >= keysym::Keypad0 && sym <= keysym::Keypad9) return kVkNumpad0 + static_cast<int>(sym - keysym::Keypad0);
    for (const KeysymKey& key : kKeysymKeys) {
        if (key.sym == sym) return key.virtualKey;
    }
    return kUntrackedKey;
}

bool recordKey(int keycode, unsigned modifiers, bool pressed) {
    return record(virtualKeyFor(keycode, modifiers), modifiers, pressed);
}

bool recordKeysym(std::uint32_t sym, unsigned modifiers, bool pressed) {
    return record(virtualKeyForKeysym(sym), modifiers, pressed);
}

std::optional<MouseButton> mouseButtonFor(int sdlButton) {
    switch (sdlButton) {
        case button::Left: return MouseButton::Left;
        case button::Middle: return MouseButton::Middle;
        case button::Right: return MouseButton::Right;
        default: return std::nullopt;
    }
}

bool recordButton(int sdlButton, bool pressed) {
    const auto which = mouseButtonFor(sdlButton);
    if (!which) return false;
    if (pressed) {
        recordButtonPress(*which);
    } else {
        recordButtonRelease(*which);
    }
    return true;
}

std::optional<int> wheelParameter(int wheelY, bool flipped, unsigned buttonMask, unsigned modifiers) {
    if (wheelY == 0) return std::nullopt;
    const bool forward = (wheelY > 0) != flipped;
    int keyState = 0;
    if ((buttonMask & buttonBit(button::Left)) != 0) keyState |= kMkLeft;
    if ((buttonMask & buttonBit(button::Right)) != 0) keyState |= kMkRight;
    if ((buttonMask & buttonBit(button::Middle)) != 0) keyState |= kMkMiddle;
    if ((buttonMask & buttonBit(button::X1)) != 0) keyState |= kMkX1;
    if ((buttonMask & buttonBit(button::X2)) != 0) keyState |= kMkX2;
    if ((modifiers & kShiftMods) != 0) keyState |= kMkShift;
    if ((modifiers & kCtrlMods) != 0) keyState |= kMkControl;
    const auto delta = static_cast<std::uint16_t>(static_cast<std::int16_t>(forward ? kWheelDelta : -kWheelDelta));
    return static_cast<int>(static_cast<std::uint32_t>(delta) << 16 | static_cast<std::uint32_t>(keyState));
}

bool recordWheelStep(int wheelY, bool flipped, unsigned buttonMask, unsigned modifiers) {
    const auto wParam = wheelParameter(wheelY, flipped, buttonMask, modifiers);
    if (wParam) recordWheel(*wParam);
    return wParam.has_value();
}

int clientCoordinate(int value) { return value & 0xFFFF; }

void recordMotion(int x, int y) { recordMouseMove(clientCoordinate(x), clientCoordinate(y)); }

}  // namespace lw::keymap
