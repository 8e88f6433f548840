#include "sprites/styles.h"

#include "sprites/band_pool.h"
#include "sprites/sprite_tables.h"
#include "test_support.h"

namespace lw {

namespace {

using SpriteLifecycleTest = test::HostTest;

}  // namespace

// A fresh start and a whole release: nothing of the last scene stays, not even a lone system in
// slot 0 (the sanitizer build reports it if it leaks).
TEST_F(SpriteLifecycleTest, InitStylesStartsAfreshAndReleaseLeavesNothingBehind) {
    psiCreate(4);
    emit(3, 0, 0, 0);
    cacheBuild(1);
    initStyles();
    EXPECT_EQ(systemSlots[4], nullptr);
    EXPECT_EQ(systemSlots[0]->particleCount, 0u);  // new, not the one the last scene left
    EXPECT_EQ(cacheCount, 0);
    EXPECT_EQ(styleTable[0]->kind, 0x10000u);
    EXPECT_EQ(bandPoolThreads(), wantedThreadCount());

    emit(8, 0, 0, 0);  // into the system initStyles left in slot 0, alone
    cacheBuild(1);
    releaseSpriteTables();
    EXPECT_EQ(systemSlots[0], nullptr);
    EXPECT_EQ(firstSlot, kNoSystem);
    EXPECT_EQ(cacheEntries, nullptr);
    EXPECT_EQ(pixels, nullptr);
    EXPECT_EQ(bandPoolThreads(), 1);
    releaseSpriteTables();  // nothing left to free twice
}

}  // namespace lw
