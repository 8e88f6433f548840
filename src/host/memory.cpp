#include "host/memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "host/process.h"

namespace lw {

namespace {
long allocationsUntilFailure = 0;
long allocationsMade = 0;

// The raw heap allocation behind both kinds of block; honours the test switch.
void* rawAllocate(std::size_t size, bool zeroed) {
    allocationsMade += 1;
    if (allocationsUntilFailure > 0 && --allocationsUntilFailure == 0) return nullptr;
    return zeroed ? std::calloc(1, size) : std::malloc(size);
}
}  // namespace

void failAllocationAfter(long k) { allocationsUntilFailure = k; }

long allocationCount() { return allocationsMade; }

void* allocAligned(std::size_t size, std::size_t alignment, int fill) {
    constexpr std::size_t slot = sizeof(void*);
    if (alignment == 0) alignment = slot;
    void* raw = nullptr;
    // A size so large that the padding overflows cannot be satisfied either.
    if (size <= std::numeric_limits<std::size_t>::max() - alignment - slot) {
        raw = rawAllocate(size + alignment + slot, false);
    }
    if (raw == nullptr) fatalError(kAllocationFailedText);

    const auto address = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = ((address + slot) / alignment + 1) * alignment;
    auto* block = reinterpret_cast<void*>(aligned);
    std::memcpy(reinterpret_cast<void*>(aligned - slot), &raw, slot);

    if (fill == 255) {
        std::memset(block, 0xFF, size);
    } else if (fill != 0) {
        std::memset(block, 0x00, size);
    }
    return block;
}

void* alloc16(std::size_t size, int fill) { return allocAligned(size, 16, fill); }

void freeAligned(void* block) {
    if (block == nullptr) return;
    void* raw = nullptr;
    std::memcpy(&raw, reinterpret_cast<char*>(block) - sizeof(void*), sizeof(void*));
    if (raw != nullptr) std::free(raw);
}

void* allocGlobal(std::size_t size, int /*zero*/) {
    // Hosts without Win32 global memory use a zeroed heap block: always zero, whatever the flag.
    void* block = rawAllocate(size == 0 ? 1 : size, true);
    if (block == nullptr) fatalError(kAllocationFailedText);
    return block;
}

void freeGlobal(void* block) { std::free(block); }

}  // namespace lw
