// SDL's and xkbcommon's keyboard and mouse events turned into what the Win32 window would record
// for the same hands on the same keys: virtual-key codes, system keys left out, button fields and
// the wheel's packed wParam. Plain integers with SDL2's values and X keysyms, so this builds and is
// tested without SDL or xkbcommon; each host checks the values against its headers when it
// compiles.
#pragma once

#include <cstdint>
#include <optional>

#include "host/input.h"

namespace lw::keymap {

constexpr int kScancodeMask = 1 << 30;
constexpr int keycodeOf(int scancode) { return scancode | kScancodeMask; }

// SDL2 keycodes (SDL_Keycode).
namespace key {
constexpr int Backspace = 8, Tab = 9, Return = 13, Escape = 27, Space = 32, Digit0 = '0', LetterA = 'a',
              Delete = 127;
constexpr int F1 = keycodeOf(58), F10 = keycodeOf(67), F11 = keycodeOf(68), F12 = keycodeOf(69);
constexpr int Insert = keycodeOf(73), Home = keycodeOf(74), PageUp = keycodeOf(75), End = keycodeOf(77),
              PageDown = keycodeOf(78), Right = keycodeOf(79), Left = keycodeOf(80), Down = keycodeOf(81),
              Up = keycodeOf(82);
constexpr int KeypadEnter = keycodeOf(88), Keypad1 = keycodeOf(89), Keypad9 = keycodeOf(97),
              Keypad0 = keycodeOf(98), KeypadPeriod = keycodeOf(99);
constexpr int LeftCtrl = keycodeOf(224), LeftShift = keycodeOf(225), LeftAlt = keycodeOf(226),
              RightCtrl = keycodeOf(228), RightShift = keycodeOf(229), RightAlt = keycodeOf(230);
}  // namespace key

// SDL2 key modifier bits (SDL_Keymod).
namespace mod {
constexpr unsigned LeftShift = 0x0001, RightShift = 0x0002, LeftCtrl = 0x0040, RightCtrl = 0x0080,
                   LeftAlt = 0x0100, RightAlt = 0x0200, NumLock = 0x1000;
}  // namespace mod

// SDL2 mouse buttons; a held button b shows in the button mask as bit b - 1.
namespace button {
constexpr int Left = 1, Middle = 2, Right = 3, X1 = 4, X2 = 5;
}  // namespace button

// Windows reports every key under some virtual-key code; the keys the record does not track
// all come as this one, which is outside the key table.
constexpr int kUntrackedKey = 0xFF;

// The virtual-key code Windows would give the key. With Num Lock off the keypad's digits are
// the arrows, Home, End, Page Up, Page Down, Insert and Delete, as on Windows.
int virtualKeyFor(int keycode, unsigned modifiers);

// X keysyms, as xkbcommon gives them. Letters and digits are their ASCII codes.
namespace keysym {
constexpr std::uint32_t Space = 0x20, Digit0 = '0', UpperA = 'A', LowerA = 'a', Backspace = 0xff08, Tab = 0xff09,
                        LeftTab = 0xfe20, Return = 0xff0d, Escape = 0xff1b, Delete = 0xffff, Home = 0xff50,
                        Left = 0xff51, Up = 0xff52, Right = 0xff53, Down = 0xff54, PageUp = 0xff55, PageDown = 0xff56,
                        End = 0xff57, Insert = 0xff63, KeypadEnter = 0xff8d, KeypadHome = 0xff95,
                        KeypadLeft = 0xff96, KeypadUp = 0xff97, KeypadRight = 0xff98, KeypadDown = 0xff99,
                        KeypadPageUp = 0xff9a, KeypadPageDown = 0xff9b, KeypadEnd = 0xff9c, KeypadBegin = 0xff9d,
                        KeypadInsert = 0xff9e, KeypadDelete = 0xff9f, KeypadDecimal = 0xffae, Keypad0 = 0xffb0,
                        Keypad9 = 0xffb9, F1 = 0xffbe, F10 = 0xffc7, F11 = 0xffc8, F12 = 0xffc9, LeftShift = 0xffe1,
                        RightShift = 0xffe2, LeftCtrl = 0xffe3, RightCtrl = 0xffe4, LeftAlt = 0xffe9,
                        RightAlt = 0xffea, AltGr = 0xfe03;
}  // namespace keysym

// The virtual-key code Windows would give the key with this keysym. The keypad's keysyms already
// tell whether Num Lock was on (KP_End or KP_1), so no modifier is needed; for the other keys
// the caller passes the key's unshifted keysym, since Windows names a key, not a character.
int virtualKeyForKeysym(std::uint32_t sym);

// Alt, F10 and any key while Alt is held arrive as WM_SYSKEYDOWN / WM_SYSKEYUP, which the
// window does not record. Ctrl with Alt (AltGr) gives ordinary key messages.
bool arrivesAsSystemKey(int virtualKey, unsigned modifiers);

// Records a key event unless it is a system key; true when recorded.
bool recordKey(int keycode, unsigned modifiers, bool pressed);
// The same for a keysym; modifiers in SDL's bits (mod::).
bool recordKeysym(std::uint32_t sym, unsigned modifiers, bool pressed);

// The button fields of the record know left, middle and right; other buttons come to a Win32
// window as messages it does not record.
std::optional<MouseButton> mouseButtonFor(int sdlButton);
bool recordButton(int sdlButton, bool pressed);

// WM_MOUSEWHEEL's wParam: one notch, +120 forward or -120 back, in the high 16 bits, the held
// buttons and Shift and Ctrl as MK_* bits in the low ones. SDL reports a flipped wheel's steps
// with the other sign; `flipped` turns them back. Nullopt for a step with no vertical part,
// which Windows sends as the horizontal wheel's message.
std::optional<int> wheelParameter(int wheelY, bool flipped, unsigned buttonMask, unsigned modifiers);
bool recordWheelStep(int wheelY, bool flipped, unsigned buttonMask, unsigned modifiers);

// A client coordinate as WM_MOUSEMOVE's lParam carries it: its low 16 bits, unsigned, so a
// point left of or above the window reads as a large number.
int clientCoordinate(int value);
void recordMotion(int x, int y);

}  // namespace lw::keymap
