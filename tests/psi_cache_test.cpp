#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "psi/cache.h"
#include "psi/emission.h"
#include "psi/registry.h"
#include "test_support.h"
#include "view/camera.h"
#include "view/camera_chain.h"

namespace lw {

using PsiCacheTest = test::HostTest;

namespace {

// A system in slot whose particle i sits at (i, 0, zs[i]) with style 100 + i.
void createAtDepths(int slot, const std::vector<double>& zs) {
    psiCreate(slot);
    currentSystem->speedJitter = 0.0;
    currentSystem->emitExtent = Vec3{};
    emit(static_cast<int>(zs.size()), 0, 0, 0);
    for (std::size_t i = 0; i < zs.size(); ++i) {
        Particle& p = currentSystem->particles[i];
        p.position = Vec3{double(i), 0.0, zs[i]};
        p.style = 100 + static_cast<int>(i);
    }
}

std::vector<double> depthsInDrawOrder() {
    std::vector<double> zs;
    for (int k = 0; k < cacheCount; ++k) {
        cacheSelect(k);
        zs.push_back(currentEntry->position.z);
    }
    return zs;
}

}  // namespace

TEST_F(PsiCacheTest, DepthKeysTruncateTowardZero) {
    EXPECT_EQ(depthKeyOf(-0.00005), 0);
    EXPECT_EQ(depthKeyOf(0.0), 0);
    EXPECT_EQ(depthKeyOf(10.00004), 100000);
    EXPECT_EQ(depthKeyOf(10.00006), 100000);
    EXPECT_EQ(depthKeyOf(-2.5), -25000);
    EXPECT_EQ(depthKeyOf(1e9), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(depthKeyOf(-1e9), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(depthKeyOf(std::nan("")), 0);
}

TEST_F(PsiCacheTest, SortedFromFarToNear) {
    createAtDepths(0, {1.0, 2.0, -3.0, 50.0, -0.00005, 7.5, 2.0});
    cacheBuild(1);
    EXPECT_EQ(depthsInDrawOrder(), (std::vector<double>{50.0, 7.5, 2.0, 2.0, 1.0, -0.00005, -3.0}));
    cacheSelect(0);
    EXPECT_EQ(currentEntry->style, 103);
    EXPECT_EQ(currentEntry->particleIndex, 3);
}

TEST_F(PsiCacheTest, SortingIsAPermutationIntoDescendingKeys) {
    seedRandomWith(3);
    std::vector<double> zs;
    for (int i = 0; i < 5000; ++i) zs.push_back(i % 3 == 0 ? 4.0 : std::floor(randSym(200.0)));
    createAtDepths(0, zs);
    cacheBuild(1);
    std::vector<int> seen(zs.size(), 0);
    for (int k = 0; k < cacheCount; ++k) {
        ++seen[drawOrder[k].entryIndex];
        if (k > 0) {
            ASSERT_GE(drawOrder[k - 1].depthKey, drawOrder[k].depthKey) << "at " << k;
        }
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), static_cast<long>(zs.size()));

    // Already sorted and reversed inputs, the classic worst cases.
    std::sort(zs.begin(), zs.end());
    createAtDepths(0, zs);
    cacheBuild(1);
    EXPECT_TRUE(std::is_sorted(drawOrder, drawOrder + cacheCount,
                               [](const DrawOrder& a, const DrawOrder& b) { return a.depthKey > b.depthKey; }));
}

TEST_F(PsiCacheTest, UnsortedOrderIsSlotThenIndex) {
    createAtDepths(7, {5.0, 6.0});
    createAtDepths(2, {1.0, 2.0, 3.0});
    currentSystem->particles[1].colour = 0xFF123456u;
    currentSystem->particles[1].size = 2.5;
    currentSystem->particles[1].ttl = 11;
    currentSystem->particles[1].lifetime = 12;
    cacheBuild(0);
    ASSERT_EQ(cacheCount, 5);
    const int expectedSlots[] = {2, 2, 2, 7, 7};
    const int expectedIndexes[] = {0, 1, 2, 0, 1};
    for (int k = 0; k < 5; ++k) {
        cacheSelect(k);
        EXPECT_EQ(currentEntry, &cacheEntries[k]);
        EXPECT_EQ(currentEntry->systemSlot, expectedSlots[k]);
        EXPECT_EQ(currentEntry->particleIndex, expectedIndexes[k]);
    }
    const CacheEntry& e = cacheEntries[1];
    EXPECT_EQ(e.colour, 0xFF123456u);
    EXPECT_EQ(e.size, 2.5);
    EXPECT_EQ(e.ttl, 11);
    EXPECT_EQ(e.lifetime, 12);
    EXPECT_EQ(e.style, 101);
    EXPECT_EQ(e.position.z, 2.0) << "camera slot 0 leaves positions as they are";
    EXPECT_EQ(currentSlot, 2) << "the first system is selected again";
}

TEST_F(PsiCacheTest, PositionsGoThroughTheSystemsCamera) {
    cameraSelect(1);
    setPosition(0.0, 0.0, 100.0);
    updateCameras();
    createAtDepths(0, {1.0, -2.0});
    currentSystem->cameraSlot = 1;
    createAtDepths(3, {1.0});
    cacheBuild(0);
    EXPECT_DOUBLE_EQ(cacheEntries[0].position.z, 101.0);
    EXPECT_DOUBLE_EQ(cacheEntries[1].position.z, 98.0);
    EXPECT_DOUBLE_EQ(cacheEntries[1].position.x, 1.0);
    EXPECT_DOUBLE_EQ(cacheEntries[2].position.z, 1.0);
}

TEST_F(PsiCacheTest, ReusedForTheSameTotalReallocatedForAnother) {
    createAtDepths(0, {1.0, 2.0, 3.0});
    cacheBuild(1);
    const CacheEntry* first = cacheEntries;
    failAllocationAfter(1);  // any allocation now would be fatal
    cacheBuild(1);
    EXPECT_EQ(cacheEntries, first);
    failAllocationAfter(0);

    emit(4, 0, 0, 0);
    failAllocationAfter(1);
    EXPECT_TRUE(test::endsInFatalError([] { cacheBuild(1); }, kAllocationFailedText));
    failAllocationAfter(0);
    cacheBuild(1);
    EXPECT_EQ(cacheCount, 4);

    cacheFree();
    EXPECT_EQ(cacheCount, 0);
    EXPECT_EQ(cacheEntries, nullptr);
}

TEST_F(PsiCacheTest, MoreParticlesThanTheOldFixedOrderHeld) {
    psiCreate(0);
    currentSystem->emitExtent = Vec3{100.0, 100.0, 100.0};
    emit(300000, 0, 0, 0);
    cacheBuild(1);
    EXPECT_EQ(cacheCount, 300000);
    EXPECT_TRUE(std::is_sorted(drawOrder, drawOrder + cacheCount,
                               [](const DrawOrder& a, const DrawOrder& b) { return a.depthKey > b.depthKey; }));
    cacheSelect(299999);
    EXPECT_LE(currentEntry->position.z, -99.0);
}

TEST_F(PsiCacheTest, NothingToCache) {
    const std::wstring text = L"PARTCACH: No Particles";
    EXPECT_TRUE(test::endsInFatalError([] { cacheBuild(1); }, text));
    psiCreate(4);
    EXPECT_TRUE(test::endsInFatalError([] { cacheBuild(1); }, text));
    createAtDepths(9, {1.0});
    cacheBuild(1);
    EXPECT_EQ(cacheCount, 1) << "an empty first system is fine while another has particles";
    EXPECT_TRUE(test::endsInFatalError([] { cacheSelect(1); }, L"PARTCACH: entry index out of range"));
    EXPECT_TRUE(test::endsInFatalError([] { cacheSelect(-1); }, L"PARTCACH: entry index out of range"));
}

}  // namespace lw
