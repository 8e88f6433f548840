// The per-frame particle cache: every particle of every system mapped into view space through
// its system's camera, with the fields that drawing needs, and an order that draws from the
// farthest (largest view z) to the nearest.
#pragma once

#include <cstdint>

#include "view/vec3.h"

namespace lw {

struct CacheEntry {
    std::int32_t systemSlot;
    std::int32_t particleIndex;
    std::int32_t style;
    std::int32_t lifetime;
    std::int32_t ttl;
    Vec3 position;  // view space
    double size;
    std::uint32_t colour;
};

struct DrawOrder {
    std::int32_t entryIndex;
    std::int32_t depthKey;  // view z in units of 1/10000, truncated toward zero
};

// Both arrays have cacheCount entries; they are reallocated only when the particle total changes.
extern CacheEntry* cacheEntries;
extern DrawOrder* drawOrder;
extern std::int32_t cacheCount;
extern CacheEntry* currentEntry;

// Rebuilds the cache from all systems; sort non-zero also sorts the draw order by depth.
// Without systems or particles it is a fatal error ("PARTCACH: No Particles").
void cacheBuild(int sort);
// currentEntry = the entry drawn k-th, k in 0..cacheCount-1.
void cacheSelect(std::int32_t k);
// Sorts drawOrder[lo..hi] into descending depthKey; equal keys keep their order (the sort is
// stable, though callers must not rely on the order of equal keys).
void cacheSort(std::int32_t lo, std::int32_t hi);
void cacheFree();

// View z to depth key; values beyond the 32-bit range are held at its ends.
std::int32_t depthKeyOf(double z);

void resetParticleCache();

}  // namespace lw
