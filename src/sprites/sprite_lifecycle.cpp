#include "psi/cache.h"
#include "psi/registry.h"
#include "raster/frame_buffer.h"
#include "sprites/band_pool.h"
#include "sprites/circle_masks.h"
#include "sprites/frame_bands.h"
#include "sprites/sprite_images.h"
#include "sprites/sprite_list.h"
#include "sprites/sprite_tables.h"
#include "sprites/spot_tables.h"
#include "sprites/styles.h"

namespace lw {

namespace {

// psiDestroySelect(-10) keeps a lone system in slot 0; a teardown must not leak it.
void destroyAllSystems() {
    psiDestroySelect(-10);
    psiDestroy(0);
    selectSystemSlot(0);
}

constexpr std::uint32_t kStartStyleColour = 0xFF7FC8FF;

}  // namespace

void initStyles() {
    releaseSpriteTables();
    // Created after the release, which destroys every system: the scene starts from a fresh
    // system in slot 0, whatever an earlier scene left there.
    psiCreate(0);
    buildSphereTable();
    buildDivisionTable();
    selectStyle(0);
    setupStyle(*currentStyle, SpriteKind::Point, kStartStyleColour, L"");
    createFrameBuffers();
    startBandPool(wantedThreadCount());
}

void releaseSpriteTables() {
    stopBandPool();
    releaseSpriteList();
    releaseFrameBands();
    releaseFrameBuffers();
    freeDivisionTable();
    freeSphereTable();
    releaseCircleMasks();
    destroyAllSystems();
    cacheFree();
}

void resetSpriteSetup() {
    stopBandPool();
    releaseSpriteList();
    releaseFrameBands();
    setBandRows(0);
    releaseCircleMasks();
    resetStyleTable();
    resetSpriteTableState();
    resetSpotTableState();
    resetBallImageState();
    resetSpotImageState();
    resetTextureStyleState();
}

}  // namespace lw
