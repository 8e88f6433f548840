// The page's keys, buttons, wheel and mouse moves, recorded as the Win32 window records the same
// hands on the same keys. The page calls these on its main thread.
#include <emscripten/emscripten.h>

#include "host/input.h"
#include "host/key_mapping.h"

namespace {

// The DOM's modifier flags as the key mapping's (SDL's) modifier bits.
unsigned modifiersOf(int alt, int ctrl, int shift) {
    using namespace lw::keymap;
    return (alt != 0 ? mod::LeftAlt : 0u) | (ctrl != 0 ? mod::LeftCtrl : 0u) | (shift != 0 ? mod::LeftShift : 0u);
}

// The DOM's held buttons (left 1, right 2, middle 4, back 8, forward 16) as SDL's mask.
unsigned sdlButtonMask(int domButtons) {
    using namespace lw::keymap;
    const auto bit = [](int b) { return 1u << (b - 1); };
    unsigned mask = 0;
    if ((domButtons & 1) != 0) mask |= bit(button::Left);
    if ((domButtons & 2) != 0) mask |= bit(button::Right);
    if ((domButtons & 4) != 0) mask |= bit(button::Middle);
    if ((domButtons & 8) != 0) mask |= bit(button::X1);
    if ((domButtons & 16) != 0) mask |= bit(button::X2);
    return mask;
}

}  // namespace

extern "C" {

// keyCode: the DOM's, which is the Windows virtual-key code. Returns 1 when the key was recorded
// (system keys are not).
EMSCRIPTEN_KEEPALIVE int lw_web_key(int keyCode, int pressed, int alt, int ctrl) {
    const int virtualKey = keyCode > 0 && keyCode < 256 ? keyCode : lw::keymap::kUntrackedKey;
    if (lw::keymap::arrivesAsSystemKey(virtualKey, modifiersOf(alt, ctrl, 0))) return 0;
    if (pressed != 0) {
        lw::recordKeyPress(virtualKey);
    } else {
        lw::recordKeyRelease(virtualKey);
    }
    return 1;
}

// button: the DOM's (0 left, 1 middle, 2 right); others are not recorded.
EMSCRIPTEN_KEEPALIVE void lw_web_button(int button, int pressed) {
    static constexpr int kSdlButtons[3] = {lw::keymap::button::Left, lw::keymap::button::Middle,
                                           lw::keymap::button::Right};
    if (button >= 0 && button < 3) lw::keymap::recordButton(kSdlButtons[button], pressed != 0);
}

// steps: positive away from the user (forward), as a notch of Windows' wheel.
EMSCRIPTEN_KEEPALIVE void lw_web_wheel(int steps, int domButtons, int ctrl, int shift) {
    lw::keymap::recordWheelStep(steps, false, sdlButtonMask(domButtons), modifiersOf(0, ctrl, shift));
}

// x, y: device pixels from the canvas' top left.
EMSCRIPTEN_KEEPALIVE void lw_web_mouse_move(int x, int y) { lw::keymap::recordMotion(x, y); }

}  // extern "C"
