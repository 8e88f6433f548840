#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "psi/cache.h"
#include "psi/emission.h"
#include "psi/links.h"
#include "psi/registry.h"
#include "psi/step.h"
#include "scene/scene.h"
#include "test_support.h"

namespace lw {

using PsiStepTest = test::HostTest;

namespace {

// A single particle at rest in the origin that moves by velocity (1, 2, 3) each step.
Particle& createSingle(int slot) {
    psiCreate(slot);
    currentSystem->emitExtent = Vec3{};
    emit(1, 0, 0, 0);
    Particle& p = currentSystem->particles[0];
    p.velocity = Vec3{1.0, 2.0, 3.0};
    p.timeScale = 1.0;
    p.damping = 0.0;
    return p;
}

int respawnAnswer = 0;
int respawnCalls = 0;
int countingRespawn() {
    ++respawnCalls;
    return respawnAnswer;
}

std::vector<int> visitedSlots;
Vec3 recordSlot() {
    visitedSlots.push_back(currentSlot);
    return Vec3{};
}

double bounceOne() { return 1.0; }

// A system in slot whose particle i sits at (i, 0, zs[i]) with style 100 + i.
void createAtDepths(int slot, const std::vector<double>& zs) {
    psiCreate(slot);
    emit(static_cast<int>(zs.size()), 0, 0, 0);
    for (std::size_t i = 0; i < zs.size(); ++i) {
        currentSystem->particles[i].position = Vec3{double(i), 0.0, zs[i]};
        currentSystem->particles[i].style = 100 + static_cast<int>(i);
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

// The scene's particles: the force first, then the move, then damping by forceScale x damping.
TEST_F(PsiStepTest, ExternalForceDampingAndReflection) {
    Particle& p = createSingle(0);
    p.forceScale = 0.5;
    p.damping = 0.35;
    p.position = Vec3{2.0, 0.0, -4.0};
    currentSystem->externalForce = centralAttraction;
    psiStep(*currentSystem);
    EXPECT_EQ(p.velocity, (Vec3{1.0 - 0.5 * 2.0, 2.0, 3.0 + 0.5 * 4.0}) * (1.0 - 0.5 * 0.35));
    EXPECT_EQ(p.position, (Vec3{2.0, 2.0, 1.0})) << "moved before damping";

    currentSystem->externalForce = nullptr;
    p.damping = 0.0;
    currentSystem->bounceFactor = bounceOne;
    p.velocity = Vec3{-1.0, -1.0, 0.5};
    psiStep(*currentSystem);
    EXPECT_EQ(p.velocity, (Vec3{-1.0, -1.0, 0.5})) << "moving against the normal: no reflection";
    p.velocity = Vec3{1.0, 2.0, -0.5};
    const Vec3 at = p.position;
    psiStep(*currentSystem);
    EXPECT_EQ(length(p.velocity), 0.0) << "a reflection with full loss stops the particle";
    EXPECT_EQ(p.position, at);
}

TEST_F(PsiStepTest, LifeCountsDownThenRespawnsWhatTheFlagsOrTheHookSay) {
    Particle& p = createSingle(0);  // emission box of size 0: a respawn lands on its centre
    ParticleSystem& s = *currentSystem;
    s.respawnFlags = RespawnPosition | RespawnVelocity;
    s.emitCentre = Vec3{1000.0, 0.0, 0.0};
    s.colourJitter = 50;
    s.lifetime = 5;
    p.ttl = p.lifetime = 2;
    psiStep(s);
    psiStep(s);
    EXPECT_EQ(p.ttl, 0);
    EXPECT_EQ(p.position, (Vec3{2.0, 4.0, 6.0}));
    const std::uint32_t colour = p.colour;
    psiStep(s);
    EXPECT_EQ(p.position, s.emitCentre);
    EXPECT_NEAR(length(p.velocity), 100.0, 50.0);
    EXPECT_EQ(p.colour, colour) << "only what the flags name is drawn again";
    EXPECT_EQ(p.ttl, 5);
    s.respawnFlags |= RespawnColour;
    s.rearmLifetime = 0;  // ttl stays 0: a respawn on every step
    p.ttl = 0;
    psiStep(s);
    EXPECT_NE(p.colour, colour);
    EXPECT_EQ(p.ttl, 0);

    // A hook decides instead of the flags; one that respawns gets one more advance.
    s.rearmLifetime = 1;
    s.respawnHook = countingRespawn;
    respawnCalls = respawnAnswer = 0;
    p.position = Vec3{};
    p.velocity = Vec3{1.0, 2.0, 3.0};
    psiStep(s);
    EXPECT_EQ(p.position.y, 2.0) << "a hook that declines leaves the particle alone";
    respawnAnswer = 1;
    psiStep(s);
    EXPECT_EQ(p.position.y, 6.0);
    EXPECT_EQ(p.ttl, 5);
    EXPECT_EQ(respawnCalls, 2);
    // A lifetime of 0 never respawns, whatever the hook or flags say.
    p.ttl = p.lifetime = 0;
    const std::uint32_t before = randomState;
    psiStep(s);
    EXPECT_EQ(respawnCalls, 2);
    EXPECT_EQ(randomState, before);
}

TEST_F(PsiStepTest, StepAllVisitsEverySystemInSlotOrderAndEmptyOnesAreValid) {
    for (int slot : {8, 3, 200}) {
        createSingle(slot);
        currentSystem->externalForce = recordSlot;
    }
    psiCreate(9);
    emit(0, 0, 0, 0);
    allocLinks(1, 0);
    allocParamSets(1);
    visitedSlots.clear();
    psiStepAll();
    EXPECT_EQ(visitedSlots, (std::vector<int>{3, 8, 200}));
    EXPECT_EQ(currentSlot, 3);
    cacheBuild(1);
    EXPECT_EQ(cacheCount, 3) << "the empty system adds nothing";

    psiCreate(9);
    EXPECT_TRUE(test::endsInFatalError(psiStepAll, L"PSI: Update is not complete")) << "never emitted";
    for (int slot : {3, 8, 9, 200}) {
        selectSystemSlot(slot);
        emit(0, 0, 0, 0);
    }
    psiStepAll();
    EXPECT_TRUE(test::endsInFatalError([] { cacheBuild(1); }, L"PARTCACH: No Particles"));
}

TEST_F(PsiStepTest, CacheSortsFromFarToNearThroughEachSystemsCamera) {
    EXPECT_TRUE(test::endsInFatalError([] { cacheBuild(1); }, L"PARTCACH: No Particles"));
    EXPECT_EQ(depthKeyOf(-0.00005), 0);
    EXPECT_EQ(depthKeyOf(10.00006), 100000);
    EXPECT_EQ(depthKeyOf(-2.5), -25000);
    EXPECT_EQ(depthKeyOf(1e9), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(depthKeyOf(-1e9), std::numeric_limits<std::int32_t>::min());

    cameraSelect(0);  // slot 0 means no camera, wherever camera 0 stands
    setPosition(0.0, 0.0, -500.0);
    cameraSelect(1);
    setPosition(0.0, 0.0, 100.0);
    updateCameras();
    createAtDepths(7, {1.0, -2.0});
    currentSystem->cameraSlot = 1;
    createAtDepths(2, {1.0, 2.0, -3.0, 50.0, -0.00005, 7.5, 2.0});
    currentSystem->particles[1].colour = 0xFF123456u;
    currentSystem->particles[1].size = 2.5;
    currentSystem->particles[1].ttl = 11;
    currentSystem->particles[1].lifetime = 12;
    cacheBuild(0);
    ASSERT_EQ(cacheCount, 9);
    cacheSelect(8);
    EXPECT_EQ(currentEntry, &cacheEntries[8]) << "unsorted: slot order, then index order";
    EXPECT_EQ(currentEntry->systemSlot, 7);
    EXPECT_EQ(currentEntry->particleIndex, 1);
    EXPECT_EQ(currentEntry->position, (Vec3{1.0, 0.0, 98.0})) << "through camera 1";
    const CacheEntry& e = cacheEntries[1];
    EXPECT_EQ(e.colour, 0xFF123456u);
    EXPECT_EQ(e.size, 2.5);
    EXPECT_EQ(e.ttl, 11);
    EXPECT_EQ(e.lifetime, 12);
    EXPECT_EQ(e.style, 101);
    EXPECT_EQ(currentSlot, 2) << "the first system is selected again";

    const CacheEntry* entries = cacheEntries;
    failAllocationAfter(1);  // the same total reuses the arrays: any allocation would be fatal
    cacheBuild(1);
    failAllocationAfter(0);
    EXPECT_EQ(cacheEntries, entries);
    EXPECT_EQ(depthsInDrawOrder(), (std::vector<double>{101.0, 98.0, 50.0, 7.5, 2.0, 2.0, 1.0, -0.00005, -3.0}));
    EXPECT_TRUE(test::endsInFatalError([] { cacheSelect(9); }, L"PARTCACH: entry index out of range"));
    selectSystemSlot(7);
    emit(1, 0, 0, 0);
    cacheBuild(1);
    EXPECT_EQ(cacheCount, 8) << "a new total, a new cache";
}

TEST_F(PsiStepTest, SortingIsAPermutationIntoDescendingKeys) {
    seedRandomWith(3);
    std::vector<double> zs;
    for (int i = 0; i < 300000; ++i) zs.push_back(i % 3 == 0 ? 4.0 : std::floor(randSym(2e5)));
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
}

}  // namespace lw
