// SDL's keyboard and mouse events turned into what the Win32 window would record for the same
// hands on the same keys: virtual-key codes, system keys left out, button fields and the wheel's
// packed wParam. Plain integers with SDL2's values, so this builds and is tested without SDL; the
// SDL host checks the values against SDL's headers when it compiles.
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

// Alt, F10 and any key while Alt is held arrive as WM_SYSKEYDOWN / WM_SYSKEYUP, which the
// window does not record. Ctrl with Alt (AltGr) gives ordinary key messages.
bool arrivesAsSystemKey(int virtualKey, unsigned modifiers);

// Records a key event unless it is a system key; true when recorded.
bool recordKey(int keycode, unsigned modifiers, bool pressed);

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
