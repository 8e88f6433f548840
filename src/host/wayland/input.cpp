// Keys, pointer motion, buttons and the wheel, into the same input record as on X11. Keys go
// through xkbcommon to keysyms and from those to virtual-key codes (host/key_mapping.h). Until a
// keymap has come, and after one that cannot be read, keys are not recorded; nothing here
// assumes that a seat has a keyboard or a pointer, or keeps them.
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cmath>

#include "host/key_mapping.h"
#include "host/wayland/wayland_host.h"

namespace lw::wayland {

namespace {

Display& display() { return state().display; }
Keyboard& keyboard() { return state().display.keyboard; }
Pointer& pointer() { return state().display.pointer; }

// Scroll units a wheel step is worth where the compositor gives no steps of its own.
constexpr double kScrollPerStep = 10.0;

void forgetKeymap() {
    Keyboard& k = keyboard();
    xkb_state_unref(k.state);
    xkb_keymap_unref(k.keymap);
    k.state = nullptr;
    k.keymap = nullptr;
    k.repeatingKey = 0;
}

// --- keyboard --------------------------------------------------------------------------------

void keymap(void*, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size) {
    forgetKeymap();
    Keyboard& k = keyboard();
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
        void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (text != MAP_FAILED) {
            if (k.context == nullptr) k.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
            // The text ends in a NUL that the size counts.
            if (k.context != nullptr) {
                k.keymap = xkb_keymap_new_from_buffer(k.context, static_cast<const char*>(text), size - 1,
                                                      XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
            }
            munmap(text, size);
        }
        if (k.keymap != nullptr) k.state = xkb_state_new(k.keymap);
    }
    close(fd);
    if (k.state == nullptr) report("the keyboard's keymap cannot be read: keys are not heard");
}

void enter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}

void leave(void*, wl_keyboard*, std::uint32_t, wl_surface*) { keyboard().repeatingKey = 0; }

bool active(const char* modifier) {
    return xkb_state_mod_name_is_active(keyboard().state, modifier, XKB_STATE_MODS_EFFECTIVE) > 0;
}

// The modifiers as SDL's bits, which the key mapping reads.
unsigned heldModifiers() {
    unsigned held = 0;
    if (active(XKB_MOD_NAME_SHIFT)) held |= keymap::mod::LeftShift;
    if (active(XKB_MOD_NAME_CTRL)) held |= keymap::mod::LeftCtrl;
    if (active(XKB_MOD_NAME_ALT)) held |= keymap::mod::LeftAlt;
    if (active(XKB_MOD_NAME_NUM)) held |= keymap::mod::NumLock;
    return held;
}

// Windows names the key, not the character: the keysym without Shift, except on the keypad,
// where Num Lock chooses between digits and arrows as it does on Windows.
std::uint32_t keysymOf(std::uint32_t key) {
    Keyboard& k = keyboard();
    const xkb_keysym_t shown = xkb_state_key_get_one_sym(k.state, key);
    if (shown >= XKB_KEY_KP_Space && shown <= XKB_KEY_KP_9) return shown;
    const xkb_keysym_t* syms = nullptr;
    const xkb_layout_index_t layout = xkb_state_key_get_layout(k.state, key);
    const int count = xkb_keymap_key_get_syms_by_level(k.keymap, key, layout, 0, &syms);
    return count > 0 ? syms[0] : shown;
}

void recordKeyEvent(std::uint32_t key, bool pressed) {
    keymap::recordKeysym(keysymOf(key), heldModifiers(), pressed);
}

void key(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t evdevKey, std::uint32_t keyState) {
    Keyboard& k = keyboard();
    if (k.state == nullptr) return;
    const std::uint32_t key = evdevKey + 8;  // evdev codes to XKB's
    const bool pressed = keyState == WL_KEYBOARD_KEY_STATE_PRESSED;
    recordKeyEvent(key, pressed);
    if (pressed && k.repeatRate > 0 && xkb_keymap_key_repeats(k.keymap, key)) {
        k.repeatingKey = key;
        k.nextRepeatMs = host::milliseconds() + static_cast<std::uint32_t>(k.repeatDelayMs);
    } else if (!pressed && key == k.repeatingKey) {
        k.repeatingKey = 0;
    }
}

// A compositor may send modifiers before any keymap: they wait for one.
void modifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
               std::uint32_t locked, std::uint32_t group) {
    if (keyboard().state == nullptr) return;
    xkb_state_update_mask(keyboard().state, depressed, latched, locked, 0, 0, group);
}

void repeatInfo(void*, wl_keyboard*, std::int32_t rate, std::int32_t delay) {
    keyboard().repeatRate = std::max(rate, 0);
    keyboard().repeatDelayMs = std::max(delay, 0);
}

const wl_keyboard_listener kKeyboardListener{keymap, enter, leave, key, modifiers, repeatInfo};

// --- pointer ---------------------------------------------------------------------------------

// A position on a surface as the pixels of its output, which the frame has there.
void recordPosition(wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    const Output* output = nullptr;
    const OutputSurface* shown = surfaceShowing(surface, &output);
    double px = wl_fixed_to_double(x);
    double py = wl_fixed_to_double(y);
    int pixelWidth = 0;
    int pixelHeight = 0;
    if (shown != nullptr && shown->logicalWidth > 0 && shown->logicalHeight > 0 &&
        outputPixelSize(*output, pixelWidth, pixelHeight)) {
        if (surface != shown->surface) {
            px += shown->frameX;
            py += shown->frameY;
        }
        px = px * pixelWidth / shown->logicalWidth;
        py = py * pixelHeight / shown->logicalHeight;
    }
    keymap::recordMotion(static_cast<int>(std::floor(px)), static_cast<int>(std::floor(py)));
}

void pointerEnter(void*, wl_pointer* device, std::uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    pointer().enterSerial = serial;
    pointer().over = surface;
    if (display().cursorHidden) hideCursorOn(device, serial);
    recordPosition(surface, x, y);
}

void pointerLeave(void*, wl_pointer*, std::uint32_t, wl_surface*) { pointer().over = nullptr; }

void motion(void*, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
    if (pointer().over != nullptr) recordPosition(pointer().over, x, y);
}

// Linux button codes as SDL numbers them.
int sdlButtonOf(std::uint32_t code) {
    switch (code) {
        case BTN_LEFT: return keymap::button::Left;
        case BTN_MIDDLE: return keymap::button::Middle;
        case BTN_RIGHT: return keymap::button::Right;
        case BTN_SIDE: return keymap::button::X1;
        case BTN_EXTRA: return keymap::button::X2;
        default: return 0;
    }
}

void button(void*, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t code, std::uint32_t buttonState) {
    const int which = sdlButtonOf(code);
    if (which == 0) return;
    const bool pressed = buttonState == WL_POINTER_BUTTON_STATE_PRESSED;
    const unsigned bit = 1u << (which - 1);
    pointer().heldButtons = pressed ? pointer().heldButtons | bit : pointer().heldButtons & ~bit;
    keymap::recordButton(which, pressed);
}

unsigned modifiersForWheel() { return keyboard().state != nullptr ? heldModifiers() : 0; }

// Wayland's scroll runs down for positive values; SDL's wheel steps run up.
void wheelSteps(int stepsDown) {
    for (int i = 0; i < std::abs(stepsDown); ++i) {
        keymap::recordWheelStep(stepsDown > 0 ? -1 : 1, false, pointer().heldButtons, modifiersForWheel());
    }
}

void axis(void*, wl_pointer*, std::uint32_t, std::uint32_t which, wl_fixed_t value) {
    if (which != WL_POINTER_AXIS_VERTICAL_SCROLL || pointer().discreteInFrame) return;
    Pointer& p = pointer();
    p.wheelRest += wl_fixed_to_double(value);
    const int steps = static_cast<int>(p.wheelRest / kScrollPerStep);
    p.wheelRest -= steps * kScrollPerStep;
    wheelSteps(steps);
}

void frame(void*, wl_pointer*) { pointer().discreteInFrame = false; }
void axisSource(void*, wl_pointer*, std::uint32_t) {}
void axisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) { pointer().wheelRest = 0; }

void axisDiscrete(void*, wl_pointer*, std::uint32_t which, std::int32_t steps) {
    if (which != WL_POINTER_AXIS_VERTICAL_SCROLL) return;
    pointer().discreteInFrame = true;
    wheelSteps(steps);
}

// Of a later version than the one bound: never sent.
void axisValue120(void*, wl_pointer*, std::uint32_t, std::int32_t) {}

const wl_pointer_listener kPointerListener{pointerEnter, pointerLeave, motion,       button,      axis,
                                           frame,        axisSource,   axisStop,     axisDiscrete, axisValue120};

// --- seats -----------------------------------------------------------------------------------

void releaseKeyboard(Seat& seat) {
    if (seat.keyboard == nullptr) return;
    wl_keyboard_release(seat.keyboard);
    seat.keyboard = nullptr;
    keyboard().repeatingKey = 0;
}

void releasePointer(Seat& seat) {
    if (seat.pointer == nullptr) return;
    pointer().over = nullptr;
    wl_pointer_release(seat.pointer);
    seat.pointer = nullptr;
}

Seat* seatNamed(std::uint32_t name) {
    for (Seat& seat : display().seats) {
        if (seat.name == name) return &seat;
    }
    return nullptr;
}

void capabilities(void* data, wl_seat* device, std::uint32_t caps) {
    Seat* seat = seatNamed(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(data)));
    if (seat == nullptr) return;
    const bool keys = (caps & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    const bool mouse = (caps & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (keys && seat->keyboard == nullptr) {
        seat->keyboard = wl_seat_get_keyboard(device);
        wl_keyboard_add_listener(seat->keyboard, &kKeyboardListener, nullptr);
    } else if (!keys) {
        releaseKeyboard(*seat);
    }
    if (mouse && seat->pointer == nullptr) {
        seat->pointer = wl_seat_get_pointer(device);
        wl_pointer_add_listener(seat->pointer, &kPointerListener, nullptr);
    } else if (!mouse) {
        releasePointer(*seat);
    }
}

void seatName(void*, wl_seat*, const char*) {}

const wl_seat_listener kSeatListener{capabilities, seatName};

// Release requests and the pointer's frame and discrete steps are of version 5.
constexpr std::uint32_t kSeatVersion = 5;

}  // namespace

void addSeat(std::uint32_t name, std::uint32_t version) {
    if (version < kSeatVersion) {
        report("the compositor's seat is too old (version %u): keys and mouse are not heard", version);
        return;
    }
    Seat seat;
    seat.name = name;
    seat.seat = static_cast<wl_seat*>(wl_registry_bind(display().globals.registry, name, &wl_seat_interface, kSeatVersion));
    display().seats.push_back(seat);
    wl_seat_add_listener(seat.seat, &kSeatListener, reinterpret_cast<void*>(std::uintptr_t{name}));
}

void removeSeat(std::uint32_t name) {
    auto& seats = display().seats;
    const auto it = std::find_if(seats.begin(), seats.end(), [name](const Seat& seat) { return seat.name == name; });
    if (it == seats.end()) return;
    releaseKeyboard(*it);
    releasePointer(*it);
    wl_seat_release(it->seat);
    seats.erase(it);
}

void releaseInput() {
    while (!display().seats.empty()) removeSeat(display().seats.back().name);
    forgetKeymap();
    xkb_context_unref(keyboard().context);
    keyboard().context = nullptr;
}

int repeatKeys(std::uint32_t nowMs) {
    Keyboard& k = keyboard();
    if (k.repeatingKey == 0 || k.state == nullptr || k.repeatRate <= 0) return -1;
    const auto wait = static_cast<std::int32_t>(k.nextRepeatMs - nowMs);
    if (wait > 0) return wait;
    recordKeyEvent(k.repeatingKey, true);
    k.nextRepeatMs = nowMs + static_cast<std::uint32_t>(std::max(1, 1000 / k.repeatRate));
    return static_cast<int>(k.nextRepeatMs - nowMs);
}

void hideCursorOn(wl_pointer* device, std::uint32_t serial) { wl_pointer_set_cursor(device, serial, nullptr, 0, 0); }

}  // namespace lw::wayland
