#include "host/key_mapping.h"
#include "host/sdl/sdl_host.h"

namespace lw::sdl {

const linuxhost::HostTable sdlHostTable = LW_HOST_TABLE();

// The key mapping repeats SDL's values so that it builds without SDL; here they must agree.
namespace {
namespace key = keymap::key;
namespace mod = keymap::mod;
static_assert(keymap::kScancodeMask == SDLK_SCANCODE_MASK);
static_assert(key::Backspace == SDLK_BACKSPACE && key::Tab == SDLK_TAB && key::Return == SDLK_RETURN &&
              key::Escape == SDLK_ESCAPE && key::Space == SDLK_SPACE && key::Digit0 == SDLK_0 &&
              key::LetterA == SDLK_a && key::Delete == SDLK_DELETE);
static_assert(key::F1 == SDLK_F1 && key::F10 == SDLK_F10 && key::F11 == SDLK_F11 && key::F12 == SDLK_F12);
static_assert(key::Insert == SDLK_INSERT && key::Home == SDLK_HOME && key::PageUp == SDLK_PAGEUP &&
              key::End == SDLK_END && key::PageDown == SDLK_PAGEDOWN && key::Right == SDLK_RIGHT &&
              key::Left == SDLK_LEFT && key::Down == SDLK_DOWN && key::Up == SDLK_UP);
static_assert(key::KeypadEnter == SDLK_KP_ENTER && key::Keypad1 == SDLK_KP_1 && key::Keypad9 == SDLK_KP_9 &&
              key::Keypad0 == SDLK_KP_0 && key::KeypadPeriod == SDLK_KP_PERIOD);
static_assert(key::LeftCtrl == SDLK_LCTRL && key::LeftShift == SDLK_LSHIFT && key::LeftAlt == SDLK_LALT &&
              key::RightCtrl == SDLK_RCTRL && key::RightShift == SDLK_RSHIFT && key::RightAlt == SDLK_RALT);
static_assert(mod::LeftShift == KMOD_LSHIFT && mod::RightShift == KMOD_RSHIFT && mod::LeftCtrl == KMOD_LCTRL &&
              mod::RightCtrl == KMOD_RCTRL && mod::LeftAlt == KMOD_LALT && mod::RightAlt == KMOD_RALT &&
              mod::NumLock == KMOD_NUM);
static_assert(keymap::button::Left == SDL_BUTTON_LEFT && keymap::button::Middle == SDL_BUTTON_MIDDLE &&
              keymap::button::Right == SDL_BUTTON_RIGHT && keymap::button::X1 == SDL_BUTTON_X1 &&
              keymap::button::X2 == SDL_BUTTON_X2);
static_assert(SDL_BUTTON_LMASK == 1 && SDL_BUTTON_MMASK == 2 && SDL_BUTTON_RMASK == 4);
}  // namespace

}  // namespace lw::sdl
