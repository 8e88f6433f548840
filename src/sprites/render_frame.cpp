#include "host/process.h"
#include "psi/cache.h"
#include "psi/registry.h"
#include "raster/depth_buffer.h"
#include "raster/frame_buffer.h"
#include "raster/small_frame.h"
#include "sprites/dispatch.h"
#include "sprites/styles.h"

namespace lw {

namespace {

constexpr std::uint32_t kNoTint = 0xFFFFFF;

// A chain longer than the table must come back to a style it has drawn: it would never end.
constexpr int kLongestChain = kStyleCount;

void loadFadeOf(int systemSlot) {
    const ParticleSystem* system = systemSlot >= 0 && systemSlot < kSystemSlotCount ? systemSlots[systemSlot] : nullptr;
    spriteState.fadeCurve = system != nullptr ? system->fadeCurve : 0;
    spriteState.fadeHook = system != nullptr ? system->fadeHook : nullptr;
}

// Draws the current entry with every style of its chain; the result of the last drawParticle.
int drawChain(const CacheEntry& entry) {
    selectStyle(entry.style);
    if (currentStyle == nullptr) fatalError(L"PSI: PBall not defined");
    const std::uint32_t entryAlpha = entry.colour >> 24;
    for (int drawn = 1;; ++drawn) {
        spriteState.tint = currentStyle->useParticleColour != 0 ? entry.colour : kNoTint;
        spriteState.alpha = static_cast<int>((currentStyle->colour >> 24) * entryAlpha / 255);
        const int result = drawParticle(*currentStyle, entry.position.x, entry.position.y, entry.position.z);
        if (currentStyle->next == kNoNextStyle) return result;
        if (drawn == kLongestChain) fatalError(L"PSI: PBall chain never ends");
        selectStyle(currentStyle->next);
    }
}

void drawCache() {
    int previousSystem = -1;
    for (std::int32_t k = 0; k < cacheCount; ++k) {
        cacheSelect(k);
        const CacheEntry& entry = *currentEntry;
        if (entry.systemSlot != previousSystem) {
            loadFadeOf(entry.systemSlot);
            previousSystem = entry.systemSlot;
        }
        // The cache is sorted, so a particle before the near cut is followed only by nearer ones.
        if (drawChain(entry) != 0) return;
    }
}

// Only ball styles test and write depth. Without one, nothing reads the depth buffer, and its
// clear (a fill as large as the frame) would be work for nobody; a ball style made later is
// there before its first frame is drawn, so that frame clears the buffer first.
bool depthTestedStyleExists() {
    for (const PBall* style : styleTable) {
        if (style != nullptr && spriteKindOf(style->kind) == SpriteKind::Ball) return true;
    }
    return false;
}

}  // namespace

void renderFrame() {
    cacheBuild(depthSort);
    enterSmallFrame();
    clearFrame();
    if (depthTestedStyleExists()) clearDepth();
    spriteState.centreOffsetX = viewWidth / 2;
    spriteState.centreOffsetY = viewHeight / 2;
    drawCache();
    expandSmallFrame();
    if (overlayHook != nullptr) overlayHook();
    presentFrame();
}

}  // namespace lw
