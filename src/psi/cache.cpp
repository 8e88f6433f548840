#include "psi/cache.h"

#include <cmath>
#include <algorithm>
#include <cstddef>
#include <limits>
#include <utility>

#include "host/memory.h"
#include "host/process.h"
#include "psi/registry.h"
#include "view/camera_chain.h"

namespace lw {

CacheEntry* cacheEntries = nullptr;
DrawOrder* drawOrder = nullptr;
std::int32_t cacheCount = 0;
CacheEntry* currentEntry = nullptr;

namespace {

// The sort's second buffer, sized with the draw order, so a frame allocates nothing.
DrawOrder* sortScratch = nullptr;

constexpr const wchar_t* kNoParticles = L"PARTCACH: No Particles";

std::int32_t particleTotal() {
    if (firstSlot < 0 || firstSlot >= kSystemSlotCount || systemSlots[firstSlot] == nullptr) fatalError(kNoParticles);
    std::int64_t total = 0;
    for (int slot = firstSlot; slot <= lastSlot; ++slot) {
        if (systemSlots[slot] != nullptr && systemSlots[slot]->particles != nullptr) total += systemSlots[slot]->particleCount;
    }
    if (total == 0) fatalError(kNoParticles);
    // No memory could hold more entries than a 32-bit count can name.
    if (total > std::numeric_limits<std::int32_t>::max()) fatalError(kAllocationFailedText);
    return static_cast<std::int32_t>(total);
}

// The draw order grows with the cache, so there is no fixed limit on the particle total.
void sizeCache(std::int32_t total) {
    if (total == cacheCount) return;
    cacheFree();
    const auto n = static_cast<std::size_t>(total);
    cacheEntries = static_cast<CacheEntry*>(alloc16(n * sizeof(CacheEntry), 1));
    drawOrder = static_cast<DrawOrder*>(alloc16(n * sizeof(DrawOrder), 1));
    sortScratch = static_cast<DrawOrder*>(alloc16(n * sizeof(DrawOrder), 1));
    cacheCount = total;
}

std::int32_t cacheSystem(const ParticleSystem& s, std::int32_t n, bool sort) {
    prepareView(s.cameraSlot);
    const bool mapped = s.cameraSlot != 0;
    for (std::uint32_t i = 0; s.particles != nullptr && i < s.particleCount; ++i, ++n) {
        const Particle& p = s.particles[i];
        currentParticleIndex = static_cast<int>(i);
        currentParticle = &s.particles[i];
        CacheEntry& e = cacheEntries[n];
        e.position = mapped ? viewTransform(p.position) : p.position;
        e.systemSlot = currentSlot;
        e.particleIndex = static_cast<std::int32_t>(i);
        e.style = p.style;
        e.size = p.size;
        e.colour = p.colour;
        e.ttl = p.ttl;
        e.lifetime = p.lifetime;
        drawOrder[n].entryIndex = n;
        if (sort) drawOrder[n].depthKey = depthKeyOf(e.position.z);
    }
    return n;
}

// The order key of a depth key: larger depths first, as unsigned numbers in ascending order.
inline std::uint32_t orderKey(std::int32_t depthKey) { return ~(static_cast<std::uint32_t>(depthKey) ^ 0x80000000u); }

// A radix sort, one byte of the order key per pass: a few linear passes instead of a quicksort's
// n log n compares and mispredicted branches, and stable, so equal depths keep the cache order.
// The four passes' counts are taken in one walk; passes in which every entry has the same byte
// are skipped.
void sortRange(DrawOrder* d, std::int32_t lo, std::int32_t hi) {
    const std::size_t count = static_cast<std::size_t>(hi - lo + 1);
    DrawOrder* from = d + lo;
    DrawOrder* to = sortScratch + lo;
    std::size_t buckets[4][257] = {};
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t key = orderKey(from[k].depthKey);
        for (int pass = 0; pass < 4; ++pass) ++buckets[pass][((key >> (8 * pass)) & 0xFFu) + 1];
    }
    for (int pass = 0; pass < 4; ++pass) {
        const int shift = 8 * pass;
        std::size_t* const b = buckets[pass];
        if (b[((orderKey(from[0].depthKey) >> shift) & 0xFFu) + 1] == count) continue;
        for (int i = 1; i <= 256; ++i) b[i] += b[i - 1];
        for (std::size_t k = 0; k < count; ++k) to[b[(orderKey(from[k].depthKey) >> shift) & 0xFFu]++] = from[k];
        std::swap(from, to);
    }
    if (from != d + lo) std::copy(from, from + count, d + lo);
}

}  // namespace

std::int32_t depthKeyOf(double z) {
    const double key = z * 10000.0;
    if (std::isnan(key)) return 0;
    if (key >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (key <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(key);
}

void cacheBuild(int sort) {
    sizeCache(particleTotal());
    std::int32_t n = 0;
    selectSystemSlot(firstSlot);
    do {
        // The total was taken over the same slots, so the entries fill the cache exactly.
        if (currentSystem != nullptr) n = cacheSystem(*currentSystem, n, sort != 0);
    } while (psiNext() == 1);
    selectSystemSlot(firstSlot);
    if (sort != 0) cacheSort(0, cacheCount - 1);
}

void cacheSelect(std::int32_t k) {
    if (k < 0 || k >= cacheCount) fatalError(L"PARTCACH: entry index out of range");
    currentEntry = &cacheEntries[drawOrder[k].entryIndex];
}

void cacheSort(std::int32_t lo, std::int32_t hi) {
    if (lo >= hi) return;
    if (lo < 0 || hi >= cacheCount) fatalError(L"PARTCACH: entry index out of range");
    sortRange(drawOrder, lo, hi);
}

void cacheFree() {
    freeAligned(cacheEntries);
    freeAligned(drawOrder);
    freeAligned(sortScratch);
    cacheEntries = nullptr;
    drawOrder = nullptr;
    sortScratch = nullptr;
    cacheCount = 0;
    currentEntry = nullptr;
}

void resetParticleCache() { cacheFree(); }

}  // namespace lw
