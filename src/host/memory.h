// Memory blocks. Every failed allocation ends the program through fatalError, so no caller
// checks for null.
#pragma once

#include <cstddef>

namespace lw {

inline constexpr const wchar_t* kAllocationFailedText =
    L"memory allocation return is NULL, may be size allocation = 0";

// fill 0 leaves the bytes as they are, 255 sets them to 0xFF, anything else to 0x00.
void* allocAligned(std::size_t size, std::size_t alignment, int fill);
void* alloc16(std::size_t size, int fill);
void freeAligned(void* block);  // null is ignored

// A zero-initialised block at a fixed address until released.
void* allocGlobal(std::size_t size, int zero);
void freeGlobal(void* block);  // null is ignored

// Test switch: the k-th allocation from now (1 = the next one) fails; 0 turns it off.
void failAllocationAfter(long k);
// Heap allocations tried so far by the process (failed ones included), for choosing k above.
// Not shared between threads: read it when the thread that allocates has been joined.
long allocationCount();

}  // namespace lw
