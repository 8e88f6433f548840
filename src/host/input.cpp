#include "host/input.h"

namespace lw {

InputState inputState;

namespace {
void set(std::atomic<int>& field, int value) { field.store(value, std::memory_order_relaxed); }

int recordKey(std::array<std::atomic<int>, kKeyBlockSize>& block, int virtualKey) {
    set(block[0], 1);
    if (const int entry = keyTableEntry(virtualKey); entry != 0) set(block[entry], 1);
    return 1;
}

std::atomic<int>& buttonField(MouseButton button) {
    switch (button) {
        case MouseButton::Left: return inputState.leftButton;
        case MouseButton::Middle: return inputState.middleButton;
        case MouseButton::Right: break;
    }
    return inputState.rightButton;
}
}  // namespace

int keyTableEntry(int virtualKey) {
    switch (virtualKey) {
        case vk::Escape: return keyEntry::Escape;
        case vk::Enter: return keyEntry::Enter;
        case vk::Space: return keyEntry::Space;
        case vk::Shift: return keyEntry::Shift;
        case vk::Control: return keyEntry::Control;
        case vk::Alt: return keyEntry::Alt;
        case vk::Tab: return keyEntry::Tab;
        case vk::Backspace: return keyEntry::Backspace;
        case vk::Delete: return keyEntry::Delete;
        case vk::Insert: return keyEntry::Insert;
        case vk::Up: return keyEntry::Up;
        case vk::Down: return keyEntry::Down;
        case vk::Left: return keyEntry::Left;
        case vk::Right: return keyEntry::Right;
        default: break;
    }
    if (virtualKey >= vk::F1 && virtualKey <= vk::F10) return keyEntry::F1 + (virtualKey - vk::F1);
    if (virtualKey >= vk::Digit0 && virtualKey <= vk::Digit0 + 9) return keyEntry::Digit0 + (virtualKey - vk::Digit0);
    if (virtualKey >= vk::LetterA && virtualKey <= vk::LetterA + 25) return keyEntry::LetterA + (virtualKey - vk::LetterA);
    return 0;
}

int recordKeyPress(int virtualKey) { return recordKey(inputState.keyDown, virtualKey); }

int recordKeyRelease(int virtualKey) { return recordKey(inputState.keyUp, virtualKey); }

void recordButtonPress(MouseButton button) {
    set(inputState.anyButtonDown, 1);
    set(buttonField(button), 1);
}

void recordButtonRelease(MouseButton button) {
    set(inputState.anyButtonUp, 1);
    set(buttonField(button), 1);
}

void recordWheel(int wParam) { set(inputState.wheel, wParam); }

void recordMouseMove(int x, int y) {
    const int dx = peek(inputState.mouseX) - x;
    const int dy = peek(inputState.mouseY) - y;
    set(inputState.mouseDX, dx);
    set(inputState.mouseDY, dy);
    set(inputState.mouseMoved, (dx != 0 || dy != 0) ? 1 : 0);
    set(inputState.mouseX, x);
    set(inputState.mouseY, y);
}

void clearInput() {
    for (auto* field : {&inputState.anyButtonDown, &inputState.anyButtonUp, &inputState.mouseMoved,
                        &inputState.leftButton, &inputState.middleButton, &inputState.rightButton,
                        &inputState.wheel}) {
        set(*field, 0);
    }
    for (auto& entry : inputState.keyUp) set(entry, 0);
    for (auto& entry : inputState.keyDown) set(entry, 0);
}

void resetInputState() {
    clearInput();
    for (auto* field : {&inputState.mouseX, &inputState.mouseY, &inputState.mouseDX, &inputState.mouseDY}) {
        set(*field, 0);
    }
}

}  // namespace lw
