#include <vector>

#include "psi/emission.h"
#include "psi/links.h"
#include "psi/registry.h"
#include "psi/step.h"
#include "test_support.h"

namespace lw {

using PsiStepTest = test::HostTest;

namespace {

Vec3 pullToCentre() { return currentParticle->position * -1.0; }

// The screensaver's system, as its scene sets it up: a box of 300, the template particle, a
// ring and two wrapped strides with their force parameters, and the pull to the centre.
void buildSceneSystem(int count) {
    psiCreate(0);
    currentSystem->emitExtent = Vec3{300.0, 300.0, 300.0};
    emit(count, 1, 33, 0);
    selectParticle(0);
    currentParticle->timeScale = 2.5e-6;
    currentParticle->damping = 0.35;
    currentParticle->forceScale = 0.5;
    keepMask = 15;
    copyParticleTemplate(0, -1, -1);
    allocLinks(3, 0);
    setLinkRing(0, -2);
    copyLinks(0, 1, -1);
    setLinkStride(5, 0, -2);
    currentLink->paramSet = 1;
    copyLinks(0, 2, -1);
    setLinkStride(350, 0, -2);
    currentLink->paramSet = 2;
    allocParamSets(3);
    selectParamSet(0);
    *currentParamSet = ForceParams{4, 8, 250, 700000, 700000};
    copyParamSets(0, 1, -1);
    *currentParamSet = ForceParams{20, 0, 0, 70000, 70000};
    copyParamSets(0, 2, -1);
    *currentParamSet = ForceParams{300, 0, 0, 210000, 210000};
    currentSystem->externalForce = pullToCentre;
    currentSystem->linkPeriod = 0;
}

// A single particle at rest in the origin that moves by velocity each step.
Particle& createSingle(int slot) {
    psiCreate(slot);
    currentSystem->speedJitter = 0.0;
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

}  // namespace

TEST_F(PsiStepTest, TheScenesParticlesLoseAFifthOfTheirSpeedPerStep) {
    buildSceneSystem(8500);
    const Particle& p = currentSystem->particles[4321];
    EXPECT_EQ(p.damping, 0.35);
    EXPECT_EQ(p.forceScale, 0.5);
    EXPECT_EQ(p.timeScale, 2.5e-6);
    EXPECT_EQ(p.style, 4321 % 33 + 1);

    // Without links and the pull, only damping acts: 1 - 0.5 * 0.35.
    currentSystem->externalForce = nullptr;
    allocLinks(0, 0);
    const Particle before = p;
    psiStep(*currentSystem);
    EXPECT_DOUBLE_EQ(p.velocity.x, before.velocity.x * 0.825);
    EXPECT_DOUBLE_EQ(p.velocity.z, before.velocity.z * 0.825);
    EXPECT_DOUBLE_EQ(p.position.y, before.position.y + 2.5e-6 * before.velocity.y) << "moved before damping";
}

TEST_F(PsiStepTest, ExternalForceAndReflection) {
    Particle& p = createSingle(0);
    p.forceScale = 0.5;
    p.position = Vec3{2.0, 0.0, -4.0};
    currentSystem->externalForce = pullToCentre;
    psiStep(*currentSystem);
    EXPECT_DOUBLE_EQ(p.velocity.x, 1.0 - 0.5 * 2.0);
    EXPECT_DOUBLE_EQ(p.velocity.z, 3.0 + 0.5 * 4.0);
    EXPECT_DOUBLE_EQ(p.position.z, -4.0 + 5.0);

    currentSystem->externalForce = nullptr;
    currentSystem->bounceFactor = bounceOne;
    p.velocity = Vec3{-1.0, -1.0, 0.5};
    psiStep(*currentSystem);
    EXPECT_EQ(p.velocity.x, -1.0) << "moving against the normal: no reflection";
    p.velocity = Vec3{1.0, 2.0, -0.5};
    const Vec3 at = p.position;
    psiStep(*currentSystem);
    EXPECT_EQ(length(p.velocity), 0.0) << "a reflection with full loss stops the particle";
    EXPECT_EQ(p.position.x, at.x);
}

TEST_F(PsiStepTest, LifeCountsDownAndRespawns) {
    Particle& p = createSingle(0);
    ParticleSystem& s = *currentSystem;
    s.respawnFlags = RespawnPosition | RespawnVelocity | RespawnColour;
    s.emitCentre = Vec3{1000.0, 0.0, 0.0};
    s.emitExtent = Vec3{10.0, 10.0, 10.0};
    s.colourJitter = 20;
    s.lifetime = 5;
    p.ttl = p.lifetime = 3;
    std::vector<int> ttls;
    for (int i = 0; i < 3; ++i) {
        psiStep(s);
        ttls.push_back(p.ttl);
    }
    EXPECT_EQ(ttls, (std::vector<int>{2, 1, 0}));
    EXPECT_LT(p.position.x, 10.0);
    psiStep(s);
    EXPECT_NEAR(p.position.x, 1000.0, 10.0) << "respawned in the emission box";
    EXPECT_NEAR(length(p.velocity), 100.0, 50.0);
    EXPECT_EQ(p.colour >> 24, 0xFFu);
    EXPECT_EQ(p.ttl, 5);
    EXPECT_EQ(p.lifetime, 5);

    // Without rearming, ttl stays 0 and the particle respawns on every step.
    s.rearmLifetime = 0;
    p.ttl = 0;
    for (int i = 0; i < 3; ++i) {
        p.position = Vec3{};
        psiStep(s);
        EXPECT_NEAR(p.position.x, 1000.0, 10.0);
        EXPECT_EQ(p.ttl, 0);
    }
}

TEST_F(PsiStepTest, ParticlesWithoutLifetimeNeverRespawn) {
    Particle& p = createSingle(0);
    currentSystem->respawnFlags = 7;
    currentSystem->respawnHook = countingRespawn;
    respawnCalls = 0;
    p.ttl = 0;
    p.lifetime = 0;
    const std::uint32_t before = randomState;
    for (int i = 0; i < 4; ++i) psiStep(*currentSystem);
    EXPECT_DOUBLE_EQ(p.position.z, 12.0);
    EXPECT_EQ(respawnCalls, 0);
    EXPECT_EQ(randomState, before);
}

TEST_F(PsiStepTest, RespawnHookAndFlagsZero) {
    Particle& p = createSingle(0);
    ParticleSystem& s = *currentSystem;
    s.lifetime = 9;
    p.lifetime = 4;
    p.ttl = 0;
    s.respawnHook = countingRespawn;
    respawnCalls = 0;
    respawnAnswer = 0;
    psiStep(s);
    EXPECT_EQ(respawnCalls, 1);
    EXPECT_EQ(p.position.y, 2.0) << "a hook that declines leaves the particle alone";
    EXPECT_EQ(p.lifetime, 4);

    respawnAnswer = 1;
    psiStep(s);
    EXPECT_EQ(p.position.y, 6.0) << "a hook that respawns gets one more advance";
    EXPECT_EQ(p.ttl, 9);
    EXPECT_EQ(p.lifetime, 9);

    s.respawnHook = nullptr;
    s.respawnFlags = 0;
    p.ttl = 0;
    const Particle before = p;
    psiStep(s);
    EXPECT_EQ(p.position.y, before.position.y + 2.0);
    EXPECT_EQ(p.velocity.y, 2.0);
    EXPECT_EQ(p.colour, before.colour);
    EXPECT_EQ(p.ttl, 9) << "only a new lifetime";
}

TEST_F(PsiStepTest, StepAllVisitsEverySystemInSlotOrder) {
    for (int slot : {8, 3, 200}) {
        createSingle(slot);
        currentSystem->externalForce = recordSlot;
    }
    visitedSlots.clear();
    psiStepAll();
    EXPECT_EQ(visitedSlots, (std::vector<int>{3, 8, 200}));
    EXPECT_EQ(currentSlot, 3);

    psiCreate(9);
    EXPECT_TRUE(test::endsInFatalError(psiStepAll, L"PSI: Update is not complete"));
}

TEST_F(PsiStepTest, StepAllWithoutSystemsDoesNothing) {
    psiStepAll();
    EXPECT_EQ(currentSystem, nullptr);
}

}  // namespace lw
