#include "sprites/styles.h"

#include "sprites/band_pool.h"
#include "sprites/sprite_tables.h"
#include "test_support.h"

namespace lw {

namespace {

using SpriteLifecycleTest = test::HostTest;

}  // namespace

TEST_F(SpriteLifecycleTest, InitStylesLeavesAFreshSystemTablesAPointStyleAndAFrame) {
    psiCreate(4);
    emit(3, 0, 0, 0);
    cacheBuild(1);
    initStyles();
    EXPECT_EQ(systemSlots[4], nullptr);
    EXPECT_EQ(systemSlots[0]->particleCount, 0u);  // new, not the one the last scene left
    EXPECT_EQ(cacheCount, 0);
    EXPECT_EQ(styleTable[0]->kind, 0x10000u);
    EXPECT_NE(depthBuffer, nullptr);
    EXPECT_EQ(bandPoolThreads(), wantedThreadCount());
}

TEST_F(SpriteLifecycleTest, ReleaseLeavesNoSystemBehindNotEvenALoneOneInSlotZero) {
    initStyles();
    emit(8, 0, 0, 0);  // into the system initStyles left in slot 0, alone
    cacheBuild(1);
    releaseSpriteTables();  // the sanitizer build reports the slot-0 system if it leaks

    EXPECT_EQ(systemSlots[0], nullptr);
    EXPECT_EQ(firstSlot, kNoSystem);
    EXPECT_EQ(cacheEntries, nullptr);
    EXPECT_EQ(pixels, nullptr);
    EXPECT_EQ(bandPoolThreads(), 1);
    releaseSpriteTables();  // nothing left to free twice
}

}  // namespace lw
