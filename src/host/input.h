// The input record: the window's main thread records events, the worker reads them once per
// frame and clears the event fields. Fields are atomics with relaxed order: the same plain reads
// and writes the design asks for, without a data race between the two threads.
#pragma once

#include <array>
#include <atomic>

namespace lw {

constexpr int kKeyBlockSize = 61;  // entry 0: any key; 1..60: the keys of the key table

// Virtual-key codes of the keys the record tracks (Win32 values; other hosts map onto them).
namespace vk {
constexpr int Backspace = 8, Tab = 9, Enter = 13, Shift = 16, Control = 17, Alt = 18, Escape = 27,
              Space = 32, Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46,
              Digit0 = 48, LetterA = 65, F1 = 112, F10 = 121, F11 = 122;
}  // namespace vk

// Entries of the key blocks, by key.
namespace keyEntry {
constexpr int Escape = 1, Enter = 2, Space = 3, F1 = 4, Shift = 14, Control = 15, Alt = 16, Tab = 17,
              Backspace = 18, Delete = 19, Insert = 20, Up = 21, Down = 22, Left = 23, Right = 24,
              Digit0 = 25, LetterA = 35;
}  // namespace keyEntry

enum class MouseButton { Left, Middle, Right };

struct InputState {
    std::atomic<int> anyButtonDown{0};
    std::atomic<int> anyButtonUp{0};
    std::atomic<int> mouseMoved{0};
    std::atomic<int> leftButton{0};
    std::atomic<int> middleButton{0};
    std::atomic<int> rightButton{0};
    std::atomic<int> wheel{0};
    std::atomic<int> mouseX{0};
    std::atomic<int> mouseY{0};
    std::atomic<int> mouseDX{0};
    std::atomic<int> mouseDY{0};
    std::array<std::atomic<int>, kKeyBlockSize> keyUp{};
    std::array<std::atomic<int>, kKeyBlockSize> keyDown{};
};

extern InputState inputState;

// The entry of a virtual-key code in the key blocks, or 0 when the key is not in the table.
int keyTableEntry(int virtualKey);

int recordKeyPress(int virtualKey);    // always 1
int recordKeyRelease(int virtualKey);  // always 1
void recordButtonPress(MouseButton button);
void recordButtonRelease(MouseButton button);
void recordWheel(int wParam);  // the whole wParam: rotation in the high 16 bits
void recordMouseMove(int x, int y);

// Clears the event fields; the position and the last deltas stay.
void clearInput();
// Clears everything, position included (tests).
void resetInputState();

// Relaxed read of a shared field.
inline int peek(const std::atomic<int>& field) { return field.load(std::memory_order_relaxed); }

}  // namespace lw
