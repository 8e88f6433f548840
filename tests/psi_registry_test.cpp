#include <vector>

#include "psi/registry.h"
#include "psi/emission.h"
#include "test_support.h"

namespace lw {

using PsiRegistryTest = test::HostTest;

namespace {

std::vector<int> visitAllSlots() {
    std::vector<int> visited;
    selectSystemSlot(firstSlot);
    do {
        visited.push_back(currentSlot);
    } while (psiNext() == 1 && visited.size() < 300);
    return visited;
}

void createWithParticles(int slot, int count) {
    psiCreate(slot);
    currentSystem->emitExtent = Vec3{10.0, 10.0, 10.0};
    emit(count, 0, 0, 0);
}

}  // namespace

TEST_F(PsiRegistryTest, WalkOverTwoSystemsAndTheirDestruction) {
    psiCreate(5);
    psiCreate(9);
    EXPECT_EQ(firstSlot, 5);
    EXPECT_EQ(lastSlot, 9);
    EXPECT_EQ(currentSlot, 9);
    EXPECT_EQ(visitAllSlots(), (std::vector<int>{5, 9}));
    EXPECT_EQ(currentSlot, 5) << "the walk wraps round to the first slot";

    selectSystemSlot(9);
    EXPECT_EQ(psiNext(), 0);
    EXPECT_EQ(currentSlot, 5);
    EXPECT_EQ(currentSystem, systemSlots[5]);

    EXPECT_EQ(psiDestroy(9), 1);
    EXPECT_EQ(lastSlot, 5);
    EXPECT_EQ(psiDestroy(5), 0);
    EXPECT_EQ(firstSlot, 256);
    EXPECT_EQ(lastSlot, 0);
    EXPECT_EQ(psiDestroy(5), 0) << "an empty slot";
}

TEST_F(PsiRegistryTest, LoneSystemInSlotZeroSurvivesDestroyAll) {
    psiCreate(0);
    EXPECT_EQ(firstSlot, 0);
    EXPECT_EQ(lastSlot, 0);
    EXPECT_EQ(visitAllSlots(), (std::vector<int>{0}));
    psiDestroySelect(-10);
    EXPECT_NE(systemSlots[0], nullptr);
    EXPECT_EQ(firstSlot, 0);
}

TEST_F(PsiRegistryTest, DestroySelectCodes) {
    for (int slot : {3, 7, 120, 200}) psiCreate(slot);
    psiDestroySelect(-4);
    EXPECT_EQ(systemSlots[3], nullptr);
    EXPECT_EQ(firstSlot, 7);
    psiDestroySelect(-2);
    EXPECT_EQ(systemSlots[200], nullptr);
    EXPECT_EQ(lastSlot, 120);
    psiCreate(50);
    psiDestroySelect(50);
    EXPECT_EQ(systemSlots[50], nullptr);
    EXPECT_EQ(visitAllSlots(), (std::vector<int>{7, 120}));

    psiCreate(0);
    psiCreate(255);
    psiDestroySelect(-10);
    EXPECT_EQ(firstSlot, 256);
    EXPECT_EQ(lastSlot, 0);
    for (auto* system : systemSlots) EXPECT_EQ(system, nullptr);
}

TEST_F(PsiRegistryTest, CreatingOverAnOccupiedSlotStartsAFreshSystem) {
    createWithParticles(4, 10);
    currentSystem->speed = 7.0;
    psiCreate(4);
    EXPECT_EQ(currentSystem->particleCount, 0u);
    EXPECT_EQ(currentSystem->speed, 100.0);

    // The lone slot-0 system is out of psiDestroySelect's reach; it must still be freed (the
    // leak checker of the sanitizer build watches this).
    createWithParticles(0, 10);
    psiDestroy(4);
    psiCreate(0);
    EXPECT_EQ(currentSystem->particles, nullptr);
    EXPECT_EQ(firstSlot, 0);
    EXPECT_EQ(lastSlot, 0);
}

TEST_F(PsiRegistryTest, SlotsOutsideTheTableAreFatal) {
    const std::wstring text = L"PSI: system slot out of range";
    EXPECT_TRUE(test::endsInFatalError([] { psiCreate(256); }, text));
    EXPECT_TRUE(test::endsInFatalError([] { psiCreate(-1); }, text));
    EXPECT_TRUE(test::endsInFatalError([] { psiDestroy(1000); }, text));
    psiCreate(3);
    psiCreate(4);
    EXPECT_TRUE(test::endsInFatalError([] { psiDestroySelect(-7); }, text));
}

TEST_F(PsiRegistryTest, DestroyingTheCurrentSystemDropsTheSelection) {
    createWithParticles(2, 4);
    psiDestroy(2);
    EXPECT_EQ(currentSystem, nullptr);
    EXPECT_EQ(currentParticle, nullptr);
    EXPECT_TRUE(test::endsInFatalError([] { allocLinks(1, 0); }, L"PSI: no particle system selected"));
}

TEST_F(PsiRegistryTest, LinkAndParameterTables) {
    createWithParticles(0, 20);
    allocLinks(3, 2);
    const LinkRule all = currentSystem->links[0];
    EXPECT_EQ(all.kind, 1);
    EXPECT_EQ(all.first, 0);
    EXPECT_EQ(all.last, 19);
    EXPECT_EQ(all.rows, 19);
    EXPECT_EQ(all.paramSet, 2);
    EXPECT_EQ(currentSystem->links[2].kind, 0) << "the other entries start zeroed";

    setLinkRing(0, -1);
    EXPECT_EQ(currentLink->kind, 4);
    EXPECT_EQ(currentLink->last, 1);
    setLinkRing(3, -2);
    EXPECT_EQ(currentLink->first, 3);
    EXPECT_EQ(currentLink->last, 19);
    EXPECT_EQ(currentLink->paramSet, 2) << "the parameter set is kept";

    allocParamSets(2);
    EXPECT_EQ(currentParamSet, &currentSystem->paramSets[0]);
    EXPECT_EQ(currentParamSet->falloffRange, 200.0);
    EXPECT_EQ(currentSystem->paramSets[1].repulsion, 0.0) << "only entry 0 gets the defaults";

    allocLinks(0, 0);
    EXPECT_EQ(currentSystem->links, nullptr);
    EXPECT_TRUE(test::endsInFatalError([] { setLinkRing(0, 1); }, L"PSI: no link rule selected"));
}

TEST_F(PsiRegistryTest, TheScenesLinkTableComesOutOfCopies) {
    createWithParticles(0, 8500);
    allocLinks(3, 0);
    setLinkRing(0, -2);
    copyLinks(0, 1, -1);
    setLinkStride(5, 0, -2);
    currentLink->paramSet = 1;
    copyLinks(0, 2, -1);
    setLinkStride(350, 0, -2);
    currentLink->paramSet = 2;

    const LinkRule* links = currentSystem->links;
    EXPECT_EQ(links[0].kind, 4);
    EXPECT_EQ(links[0].last, 8499);
    EXPECT_EQ(links[0].paramSet, 0);
    EXPECT_EQ(links[1].kind, 8);
    EXPECT_EQ(links[1].step, 5);
    EXPECT_EQ(links[1].paramSet, 1);
    EXPECT_EQ(links[2].step, 350);
    EXPECT_EQ(links[2].last, 8499);
    EXPECT_EQ(links[2].paramSet, 2);

    allocParamSets(3);
    *currentParamSet = ForceParams{4, 8, 250, 700000, 700000};
    copyParamSets(0, -1, 0);
    EXPECT_EQ(currentSystem->paramSets[2].falloffRange, 250.0) << "first -1 copies over the whole table";
    EXPECT_TRUE(test::endsInFatalError([] { copyParamSets(0, 1, 3); }, L"PSI: parameter set index out of range"));
    EXPECT_TRUE(test::endsInFatalError([] { copyLinks(5, 0, -1); }, L"PSI: link index out of range"));
}

TEST_F(PsiRegistryTest, TemplateKeepsTheMaskedFields) {
    createWithParticles(0, 6);
    Particle* p = currentSystem->particles;
    for (int i = 0; i < 6; ++i) {
        p[i].ttl = i;
        p[i].lifetime = 10 + i;
    }
    p[0].damping = 0.35;
    p[0].forceScale = 0.5;
    p[0].timeScale = 2.5e-6;
    p[0].size = 3.0;
    const Particle before3 = p[3];

    keepMask = 15;
    copyParticleTemplate(0, -1, -1);
    EXPECT_EQ(currentParticle, &p[0]);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(p[i].damping, 0.35);
        EXPECT_EQ(p[i].forceScale, 0.5);
        EXPECT_EQ(p[i].timeScale, 2.5e-6);
        EXPECT_EQ(p[i].size, 3.0);
        EXPECT_EQ(p[i].ttl, 0);
        EXPECT_EQ(p[i].lifetime, 10);
    }
    EXPECT_EQ(p[3].position.x, before3.position.x);
    EXPECT_EQ(p[3].velocity.y, before3.velocity.y);
    EXPECT_EQ(p[3].style, before3.style);
    EXPECT_EQ(p[3].colour, before3.colour);

    p[4].ttl = 44;
    keepMask = KeepLife;
    copyParticleTemplate(5, 2, 3);
    EXPECT_EQ(currentParticle, &p[2]);
    EXPECT_EQ(p[3].position.x, p[5].position.x);
    EXPECT_EQ(p[4].ttl, 44) << "outside the range";
    EXPECT_TRUE(test::endsInFatalError([] { copyParticleTemplate(0, 4, 6); }, L"PSI: particle index out of range"));
    EXPECT_TRUE(test::endsInFatalError([] { selectParticle(6); }, L"PSI: particle index out of range"));
}

}  // namespace lw
