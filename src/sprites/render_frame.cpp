#include "host/process.h"
#include "psi/cache.h"
#include "psi/registry.h"
#include "raster/frame_buffer.h"
#include "raster/small_frame.h"
#include "sprites/dispatch.h"
#include "sprites/frame_bands.h"
#include "sprites/sprite_list.h"
#include "sprites/spot_tables.h"
#include "sprites/styles.h"

namespace lw {

namespace {

constexpr std::uint32_t kNoTint = 0xFFFFFF;

// A chain longer than the table must come back to a style it has placed: it would never end.
constexpr int kLongestChain = kStyleCount;

// The cache is walked in depth order, which jumps about its entries: each is asked for this many
// particles ahead, so that it has come from memory by its turn.
constexpr int kFetchAhead = 8;

void fetchEntry(std::int32_t k) {
#if defined(__GNUC__)
    if (k < cacheCount) __builtin_prefetch(&cacheEntries[drawOrder[k].entryIndex]);
#else
    (void)k;
#endif
}

void loadFadeOf(int systemSlot, ParticleLook& look) {
    const ParticleSystem* system = systemSlot >= 0 && systemSlot < kSystemSlotCount ? systemSlots[systemSlot] : nullptr;
    look.fadeCurve = system != nullptr ? system->fadeCurve : 0;
    look.fadeHook = system != nullptr ? system->fadeHook : nullptr;
}

// Places the current entry with every style of its chain; the result of the last drawParticle.
int placeChain(const CacheEntry& entry, ParticleLook& look) {
    selectStyle(entry.style);
    if (currentStyle == nullptr) fatalError(L"PSI: PBall not defined");
    const std::uint32_t entryAlpha = entry.colour >> 24;
    for (int placed = 1;; ++placed) {
        look.tint = currentStyle->useParticleColour != 0 ? entry.colour : kNoTint;
        look.alpha = static_cast<int>((currentStyle->colour >> 24) * entryAlpha / 255);
        const int result = drawParticle(*currentStyle, entry.position.x, entry.position.y, entry.position.z, look);
        if (currentStyle->next == kNoNextStyle) return result;
        if (placed == kLongestChain) fatalError(L"PSI: PBall chain never ends");
        selectStyle(currentStyle->next);
    }
}

void placeCache() {
    ParticleLook look;
    look.centreOffsetX = viewWidth / 2;
    look.centreOffsetY = viewHeight / 2;
    int previousSystem = -1;
    for (std::int32_t k = 0; k < cacheCount; ++k) {
        fetchEntry(k + kFetchAhead);
        cacheSelect(k);
        const CacheEntry& entry = *currentEntry;
        if (entry.systemSlot != previousSystem) {
            loadFadeOf(entry.systemSlot, look);
            previousSystem = entry.systemSlot;
        }
        // The cache is sorted, so a particle before the near cut is followed only by nearer ones.
        if (placeChain(entry, look) != 0) return;
    }
}

}  // namespace

void renderFrame() {
    cacheBuild(depthSort);
    enterSmallFrame();
    clearPendingBorder();
    clearSpriteList();
    beginSpotTableFrame();
    deferSpotTableFills();
    placeCache();
    drawAndPresentFrame();
}

}  // namespace lw
