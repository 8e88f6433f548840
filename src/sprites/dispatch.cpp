// drawParticle: near cut, fog, fade, projected size, the sprite box and the record on the list;
// with the projection and fog curves, all in one unit so that a particle's placement is one
// function with its record in registers until it is written, once, onto the list.
#include <cstdint>

#include "host/process.h"
#include "psi/cache.h"
#include "psi/registry.h"
#include "raster/frame_buffer.h"
#include "sprites/dispatch.h"
#include "sprites/rounding.h"
#include "sprites/sprite_list.h"
#include "sprites/sprite_tables.h"

namespace lw {

namespace {

constexpr double kOneOver255 = 0.00392156862745098;

// The settings above and the view's, read once for a frame's placement: the sprite records are
// written through pointers the compiler must assume may reach the globals, which would have them
// read again for every sprite.
struct PlacementFrame {
    double viewScale;
    double nearCut;
    double magnificationLimit;
    double maxMagnification;
    double projectionDepth;
    double fogNear;
    double fogRange;
    int fogMode;
    int depthSort;
    int minSpriteSize;
    int viewMaxX;
    int viewMaxY;
    const std::int32_t* divisionTable;
    // Per style slot, the routines (kCheckedUnclipped, kCheckedClipped) whose style has been found
    // to have what they read in this frame; null: every sprite is checked.
    std::uint8_t* checkedRoutines;
};
constexpr std::uint8_t kCheckedUnclipped = 1;
constexpr std::uint8_t kCheckedClipped = 2;

// The frame's settings as they are now, with checkedRoutines (kStyleCount marks) cleared.
void readPlacementFrame(PlacementFrame& frame, std::uint8_t* checkedRoutines) {
    frame = {viewScale,    nearCut,  magnificationLimit, maxMagnification, projectionDepth,
             fogNear,      fogRange, fogMode,            depthSort,        minSpriteSize,
             viewMaxX,     viewMaxY, divisionTable,      checkedRoutines};
    if (checkedRoutines != nullptr) {
        for (int i = 0; i < kStyleCount; ++i) checkedRoutines[i] = 0;
    }
}

// 1 at d = 0 falling smoothly to 0 at d = fogRange.
inline double smoothFog(double d, double fogRange) {
    const double c = fogRange - d;
    if (c < 0.0) return 0.0;
    const double t = (c / fogRange) * 0.5;
    return t * t * (6.0 - 4.0 * t);
}

inline double projectionAt(const PlacementFrame& f, double z) {
    if (z <= f.magnificationLimit) return f.maxMagnification;
    return f.projectionDepth / (f.projectionDepth - z);
}

inline double fogAt(const PlacementFrame& f, double z) {
    const double d = z - f.fogNear;
    if (d <= 0.0) return 1.0;
    switch (f.fogMode) {
    case kFogSmooth:
        return smoothFog(d, f.fogRange);
    case kFogSmoothSquared: {
        const double s = smoothFog(d, f.fogRange);
        return s * s;
    }
    default:
        return d > f.fogRange ? 0.0 : 1.0 - d / f.fogRange;
    }
}

PlacementFrame settingsNow() {
    PlacementFrame frame;
    readPlacementFrame(frame, nullptr);
    return frame;
}

}  // namespace

double projectionFactor(double z) { return projectionAt(settingsNow(), z); }

double fogCurve(double z) { return fogAt(settingsNow(), z); }

namespace {

int depthCueOf(const PlacementFrame& f, const PBall& style, double z) {
    double factor = 1.0;
    if (f.fogMode != kFogNone) {
        // A division by 1 changes nothing, and most styles have that scale: spare its latency.
        factor = style.depthCueScale == 1.0 ? fogAt(f, z) : fogAt(f, z) / style.depthCueScale;
        // A zero or negative depthCueScale must not turn into a NaN or a negative cue.
        if (!(factor >= 0.0)) factor = 0.0;
        if (factor > 1.0) factor = 1.0;
    }
    return addHalfTruncate(factor * 255.0);
}

int fadedAlpha(int alpha, const ParticleLook& look) {
    const double g = fadeValue(look.fadeCurve, look.fadeHook);
    const double faded = static_cast<double>(static_cast<unsigned>(alpha)) * (g * 255.0 + 0.5) * kOneOver255;
    // A fade hook may return anything; the routines rely on an alpha of 0..255.
    if (!(faded >= 0.0)) return 0;
    return faded >= 255.0 ? 255 : static_cast<int>(faded);
}

// An inner size keeps at least two quarter pixels inside the size that encloses it.
inline int innerSize(double ratio, double sizeExact, int enclosing) {
    if (ratio == 0.0) return 0;
    const int size = addHalfTruncate(ratio * sizeExact);
    if (enclosing - size >= 2) return size;
    return enclosing - 2 < 0 ? 0 : enclosing - 2;
}

// What a particle's placement has decided, written onto the list in one go.
struct Placed {
    int centreX = 0;
    int centreY = 0;
    int radius = 0;
    int size0 = 0;
    int size2 = 0;
    int innerSize1 = 0;
    int innerSize2 = 0;
    int depth = 0;
    int tinyBall = 0;
    Colour tint = 0;
    int alpha = 0;
    int depthCue = 0;
};

inline void computeSizes(const PlacementFrame& f, const PBall& style, double projection, double size, Placed& s) {
    const double sizeExact = 400.0 * projection * size * style.sizeScale * f.viewScale;
    s.size0 = addHalfTruncate(sizeExact);
    int size1 = (s.size0 + 1) >> 1;
    s.size2 = (size1 + 1) >> 1;
    const int m = f.minSpriteSize;
    if (m != 0 && s.size2 < m) {
        s.size2 = m;
        if (size1 < 2 * m) size1 = 2 * m;
        if (s.size0 < 4 * m) s.size0 = 4 * m;
    }
    // Images are 256 texels wide: a larger radius would read past their rows. size0 and the inner
    // sizes keep their full value, beyond the largest circle mask (1020) for near particles: the
    // disc routines clamp them where they select a mask.
    if (s.size2 >= 256) s.size2 = 255;
    s.innerSize1 = innerSize(style.innerRatio1, sizeExact, s.size0);
    s.innerSize2 = innerSize(style.innerRatio2, sizeExact, s.innerSize1);
}

// The record gets every field here, after the placement has read all it reads.
inline void appendPlaced(const Placed& s, const PBall& style, DrawRoutine routine, const std::int32_t* divisionRow,
                         bool withImages, const SpotTable* spotTable) {
    SpriteRecord& r = spriteSlot();
    r.draw = routine;
    r.centreX = s.centreX;
    r.centreY = s.centreY;
    r.radius = s.radius;
    r.size0 = s.size0;
    r.size2 = s.size2;
    r.innerSize1 = s.innerSize1;
    r.innerSize2 = s.innerSize2;
    r.depth = s.depth;
    r.tinyBall = s.tinyBall;
    r.tint = s.tint;
    r.styleColour = style.colour;
    r.alpha = s.alpha;
    r.depthCue = s.depthCue;
    r.divisionRow = divisionRow;
    for (int q = 0; q < 4; ++q) r.images[q] = withImages ? style.images[q] : nullptr;
    r.spotTable = spotTable;
    commitSprite(s.centreY - s.radius, s.centreY + s.radius);
}

// Centre and box of a sprite of radius size2 - 1; false when the box misses the view.
inline bool placeBox(const PlacementFrame& f, Placed& s, double x, double y) {
    s.radius = s.size2 - 1;
    s.centreX = addHalfTruncate(x);
    s.centreY = addHalfTruncate(y);
    return !(s.centreY - s.radius > f.viewMaxY || s.centreX - s.radius > f.viewMaxX || s.centreY + s.radius < 0 ||
             s.centreX + s.radius < 0);
}

// The checks of a style's routine and inputs run for its first sprite of a frame that uses the
// routine: nothing they look at changes while a frame is placed.
inline void checkRoutine(const PlacementFrame& f, int styleSlot, const PBall& style, DrawRoutine routine, bool inside) {
    const std::uint8_t mark = inside ? kCheckedUnclipped : kCheckedClipped;
    if (styleSlot >= 0 && f.checkedRoutines != nullptr && (f.checkedRoutines[styleSlot] & mark) != 0) return;
    if (routine == nullptr) linkDrawError();
    requireInputs(style);
    if (styleSlot >= 0 && f.checkedRoutines != nullptr) f.checkedRoutines[styleSlot] |= mark;
}

// Ball, Disc and Spot sprites: drawn from the style's images (or masks), clipped where the box
// meets the view's edges.
inline void placeImageSprite(const PlacementFrame& f, int styleSlot, const PBall& style, const Placed& s) {
    const bool inside = s.centreY - s.radius >= 0 && s.centreX - s.radius >= 0 && s.centreY + s.radius <= f.viewMaxY &&
                        s.centreX + s.radius <= f.viewMaxX;
    const DrawRoutine routine = inside ? style.drawUnclipped : style.drawClipped;
    checkRoutine(f, styleSlot, style, routine, inside);
    const std::int32_t* divisionRow = f.divisionTable == nullptr ? nullptr : f.divisionTable + s.radius * kTableSide;
    appendPlaced(s, style, routine, divisionRow, true, spotTableFor(style, s.radius));
}

// A size2 below 1 (a size rounded to nothing, or a negative size) has no pixels: a negative
// radius would turn the box inside out.
inline void placeSprite(const PlacementFrame& f, int styleSlot, const PBall& style, Placed& s, double x, double y,
                        double pd) {
    if (s.size2 <= 0) return;
    s.tinyBall = s.size2 == 2 ? 1 : 0;
    if (!placeBox(f, s, x, y)) return;
    s.depth = truncateHeld(pd - 0.5);
    placeImageSprite(f, styleSlot, style, s);
}

inline void placeSpot(const PlacementFrame& f, int styleSlot, const PBall& style, Placed& s, double x, double y) {
    if (s.size2 <= 0) return;
    if (!placeBox(f, s, x, y)) return;
    placeImageSprite(f, styleSlot, style, s);
}

inline void placePoint(const PlacementFrame& f, const PBall& style, Placed& s, double x, double y) {
    if (s.size2 <= 0) return;
    s.centreX = addHalfTruncate(x);
    s.centreY = addHalfTruncate(y);
    s.radius = 0;
    // Compared as unsigned, so that negative coordinates are off the view as well.
    if (static_cast<unsigned>(s.centreY) > static_cast<unsigned>(f.viewMaxY) ||
        static_cast<unsigned>(s.centreX) > static_cast<unsigned>(f.viewMaxX)) {
        return;
    }
    s.tint = s.tint == 0xFFFFFF ? style.colour : mulColour(style.colour, s.tint);
    if (style.drawUnclipped == nullptr) linkDrawError();
    appendPlaced(s, style, style.drawUnclipped, nullptr, false, nullptr);
}

// drawParticle for a particle whose style is in slot styleSlot (-1: none, checked every time).
// A fade hook may change any setting: the frame is read again after one has run.
inline int placeParticle(PlacementFrame& frame, int styleSlot, const PBall& style, const CacheEntry* entry, double x,
                         double y, double z, const ParticleLook& look) {
    if (z < frame.nearCut) return frame.depthSort;
    const std::uint32_t mode = blendModeOf(style.kind);
    if (look.tint == 0 && (mode == BlendMode::Add || mode == BlendMode::Subtract)) return 0;
    if (entry == nullptr) fatalError(L"PSI: no particle selected to draw");

    Placed s;
    s.tint = look.tint;
    s.alpha = look.alpha;
    s.depthCue = depthCueOf(frame, style, z);
    if (entry->lifetime != 0) {
        s.alpha = fadedAlpha(s.alpha, look);
        if (look.fadeHook != nullptr) readPlacementFrame(frame, frame.checkedRoutines);
    }
    if (s.depthCue == 0 || s.alpha == 0) return 0;

    const PlacementFrame& f = frame;
    const double p = projectionAt(f, z);
    const double vx = x * p * f.viewScale + look.centreOffsetX;
    const double vy = y * p * f.viewScale + look.centreOffsetY;
    const double pd = 8.0 * z * p;
    computeSizes(f, style, p, entry->size, s);

    switch (spriteKindOf(style.kind)) {
    case SpriteKind::Point:
        placePoint(f, style, s, vx, vy);
        break;
    case SpriteKind::Ball:
    case SpriteKind::Disc:
        placeSprite(f, styleSlot, style, s, vx, vy, pd);
        break;
    case SpriteKind::Spot:
        placeSpot(f, styleSlot, style, s, vx, vy);
        break;
    default:
        break;
    }
    return 0;
}

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

// selectStyle, without a call where the slot holds a style already (nearly every particle).
inline void selectStyleOf(int index) {
    if (index >= 0 && index < kStyleCount && styleTable[index] != nullptr) {
        currentStyleIndex = index;
        currentStyle = styleTable[index];
        return;
    }
    selectStyle(index);
}

// Places the current entry with every style of its chain; the result of the last placement.
inline int placeChain(PlacementFrame& frame, const CacheEntry& entry, ParticleLook& look) {
    selectStyleOf(entry.style);
    if (currentStyle == nullptr) fatalError(L"PSI: PBall not defined");
    const std::uint32_t entryAlpha = entry.colour >> 24;
    for (int placed = 1;; ++placed) {
        const PBall& style = *currentStyle;
        look.tint = style.useParticleColour != 0 ? entry.colour : kNoTint;
        look.alpha = static_cast<int>((style.colour >> 24) * entryAlpha / 255);
        const int result = placeParticle(frame, currentStyleIndex, style, &entry, entry.position.x, entry.position.y,
                                         entry.position.z, look);
        if (currentStyle->next == kNoNextStyle) return result;
        if (placed == kLongestChain) fatalError(L"PSI: PBall chain never ends");
        selectStyleOf(currentStyle->next);
    }
}

}  // namespace

void placeCache() {
    std::uint8_t checkedRoutines[kStyleCount];
    PlacementFrame frame;
    readPlacementFrame(frame, checkedRoutines);
    ParticleLook look;
    look.centreOffsetX = viewWidth / 2;
    look.centreOffsetY = viewHeight / 2;
    int previousSystem = -1;
    for (std::int32_t k = 0; k < cacheCount; ++k) {
        fetchEntry(k + kFetchAhead);
        // cacheSelect(k), whose range check the loop keeps.
        currentEntry = &cacheEntries[drawOrder[k].entryIndex];
        const CacheEntry& entry = *currentEntry;
        if (entry.systemSlot != previousSystem) {
            loadFadeOf(entry.systemSlot, look);
            previousSystem = entry.systemSlot;
        }
        // The cache is sorted, so a particle before the near cut is followed only by nearer ones.
        if (placeChain(frame, entry, look) != 0) return;
    }
}

int drawParticle(const PBall& style, double x, double y, double z, const ParticleLook& look) {
    PlacementFrame frame = settingsNow();
    return placeParticle(frame, -1, style, currentEntry, x, y, z, look);
}

}  // namespace lw
