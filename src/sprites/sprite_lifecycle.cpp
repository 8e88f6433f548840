#include "psi/cache.h"
#include "psi/registry.h"
#include "raster/frame_buffer.h"
#include "sprites/circle_masks.h"
#include "sprites/sprite_images.h"
#include "sprites/sprite_tables.h"
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
}

void releaseSpriteTables() {
    releaseFrameBuffers();
    freeDivisionTable();
    freeSphereTable();
    releaseCircleMasks();
    destroyAllSystems();
    cacheFree();
}

void resetSpriteSetup() {
    releaseCircleMasks();
    resetStyleTable();
    resetSpriteTableState();
    resetBallImageState();
    resetSpotImageState();
    resetTextureStyleState();
}

}  // namespace lw
