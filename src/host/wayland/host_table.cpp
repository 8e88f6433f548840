#include <xkbcommon/xkbcommon-keysyms.h>

#include "host/key_mapping.h"
#include "host/wayland/wayland_host.h"

namespace lw::wayland {

const linuxhost::HostTable waylandHostTable = LW_HOST_TABLE();

// The key mapping repeats the keysyms' values so that it builds without xkbcommon; here they
// must agree.
namespace {
namespace sym = keymap::keysym;
static_assert(sym::Space == XKB_KEY_space && sym::Digit0 == XKB_KEY_0 && sym::UpperA == XKB_KEY_A &&
              sym::LowerA == XKB_KEY_a && sym::Backspace == XKB_KEY_BackSpace && sym::Tab == XKB_KEY_Tab &&
              sym::LeftTab == XKB_KEY_ISO_Left_Tab && sym::Return == XKB_KEY_Return && sym::Escape == XKB_KEY_Escape &&
              sym::Delete == XKB_KEY_Delete);
static_assert(sym::Home == XKB_KEY_Home && sym::Left == XKB_KEY_Left && sym::Up == XKB_KEY_Up &&
              sym::Right == XKB_KEY_Right && sym::Down == XKB_KEY_Down && sym::PageUp == XKB_KEY_Prior &&
              sym::PageDown == XKB_KEY_Next && sym::End == XKB_KEY_End && sym::Insert == XKB_KEY_Insert);
static_assert(sym::KeypadEnter == XKB_KEY_KP_Enter && sym::KeypadHome == XKB_KEY_KP_Home &&
              sym::KeypadLeft == XKB_KEY_KP_Left && sym::KeypadUp == XKB_KEY_KP_Up &&
              sym::KeypadRight == XKB_KEY_KP_Right && sym::KeypadDown == XKB_KEY_KP_Down &&
              sym::KeypadPageUp == XKB_KEY_KP_Prior && sym::KeypadPageDown == XKB_KEY_KP_Next &&
              sym::KeypadEnd == XKB_KEY_KP_End && sym::KeypadBegin == XKB_KEY_KP_Begin &&
              sym::KeypadInsert == XKB_KEY_KP_Insert && sym::KeypadDelete == XKB_KEY_KP_Delete &&
              sym::KeypadDecimal == XKB_KEY_KP_Decimal && sym::Keypad0 == XKB_KEY_KP_0 && sym::Keypad9 == XKB_KEY_KP_9);
static_assert(sym::F1 == XKB_KEY_F1 && sym::F10 == XKB_KEY_F10 && sym::F11 == XKB_KEY_F11 && sym::F12 == XKB_KEY_F12);
static_assert(sym::LeftShift == XKB_KEY_Shift_L && sym::RightShift == XKB_KEY_Shift_R &&
              sym::LeftCtrl == XKB_KEY_Control_L && sym::RightCtrl == XKB_KEY_Control_R &&
              sym::LeftAlt == XKB_KEY_Alt_L && sym::RightAlt == XKB_KEY_Alt_R && sym::AltGr == XKB_KEY_ISO_Level3_Shift);
}  // namespace

}  // namespace lw::wayland
