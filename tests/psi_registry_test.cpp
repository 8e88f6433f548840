#include <vector>

#include "psi/emission.h"
#include "psi/registry.h"
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

}  // namespace

TEST_F(PsiRegistryTest, SlotsWalkAndDestruction) {
    for (int slot : {9, 5, 120, 200, 50}) psiCreate(slot);
    EXPECT_EQ(visitAllSlots(), (std::vector<int>{5, 9, 50, 120, 200}));
    EXPECT_EQ(currentSlot, 5) << "the walk wraps round to the first slot";
    psiDestroySelect(-4);
    psiDestroySelect(-2);
    psiDestroySelect(50);
    EXPECT_EQ(visitAllSlots(), (std::vector<int>{9, 120}));
    EXPECT_EQ(psiDestroy(120), 1);
    EXPECT_EQ(lastSlot, 9);
    EXPECT_EQ(psiDestroy(9), 0);
    EXPECT_EQ(firstSlot, 256);
    EXPECT_EQ(lastSlot, 0);
    EXPECT_EQ(currentSystem, nullptr) << "destroying the current system drops the selection";

    // A lone system in slot 0 is out of psiDestroySelect's reach, and psiCreate replaces it whole.
    psiCreate(0);
    emit(10, 0, 0, 0);
    psiDestroySelect(-10);
    EXPECT_EQ(visitAllSlots(), (std::vector<int>{0}));
    psiCreate(0);
    EXPECT_EQ(currentSystem->particleCount, 0u);
    EXPECT_EQ(currentSystem->speed, 100.0);

    const std::wstring text = L"PSI: system slot out of range";
    EXPECT_TRUE(test::endsInFatalError([] { psiCreate(256); }, text));
    EXPECT_TRUE(test::endsInFatalError([] { psiDestroy(-1); }, text));
}

TEST_F(PsiRegistryTest, LinkAndParameterTablesComeOutOfCopies) {
    psiCreate(0);
    emit(8500, 0, 0, 0);
    allocLinks(3, 2);
    EXPECT_EQ(currentSystem->links[0], (LinkRule{1, 0, 8499, 0, 8499, 2})) << "all pairs of all particles";
    setLinkRing(0, -1);
    EXPECT_EQ(*currentLink, (LinkRule{4, 0, 1, 0, 0, 2}));
    setLinkRing(0, -2);
    copyLinks(0, 1, -1);
    setLinkStride(350, 3, -2);
    EXPECT_EQ(currentSystem->links[1], (LinkRule{8, 3, 8499, 350, 0, 2}));
    EXPECT_EQ(currentSystem->links[0].kind, 4);
    EXPECT_EQ(currentSystem->links[2].kind, 0) << "the other entries start zeroed";

    allocParamSets(3);
    EXPECT_EQ(currentSystem->paramSets[0], (ForceParams{40, 80, 200, 1, 4}));
    EXPECT_EQ(currentSystem->paramSets[1], ForceParams{}) << "only entry 0 gets the defaults";
    *currentParamSet = ForceParams{4, 8, 250, 700000, 700000};
    copyParamSets(0, -1, 0);
    EXPECT_EQ(currentSystem->paramSets[2].falloffRange, 250.0) << "first -1 copies over the whole table";
    EXPECT_TRUE(test::endsInFatalError([] { copyParamSets(0, 1, 3); }, L"PSI: parameter set index out of range"));
    EXPECT_TRUE(test::endsInFatalError([] { copyLinks(5, 0, -1); }, L"PSI: link index out of range"));
    allocLinks(0, 0);
    EXPECT_TRUE(test::endsInFatalError([] { setLinkRing(0, 1); }, L"PSI: no link rule selected"));
}

// The scene's own mask (place, motion, style and colour kept) is held by the scene's test; here
// a range within the array, stamped with all but the life and the style.
TEST_F(PsiRegistryTest, TemplateStampsWhatTheMaskDoesNotKeep) {
    psiCreate(0);
    currentSystem->emitExtent = Vec3{10.0, 10.0, 10.0};
    emit(6, 0, 5, 0);
    Particle* p = currentSystem->particles;
    for (int i = 0; i < 6; ++i) {
        p[i].ttl = i;
        p[i].colour = 0xFF000000u + i;
    }
    p[5].size = 3.0;
    const Vec3 outside = p[4].position;
    keepMask = KeepLife | KeepStyle;
    copyParticleTemplate(5, 2, 3);
    EXPECT_EQ(currentParticle, &p[2]);
    for (int i : {2, 3}) {
        EXPECT_EQ(p[i].position, p[5].position);
        EXPECT_EQ(p[i].velocity, p[5].velocity);
        EXPECT_EQ(p[i].colour, p[5].colour);
        EXPECT_EQ(p[i].size, 3.0);
        EXPECT_EQ(p[i].style, i);
        EXPECT_EQ(p[i].ttl, i);
    }
    EXPECT_EQ(p[4].position, outside) << "outside the range";
    EXPECT_TRUE(test::endsInFatalError([] { copyParticleTemplate(0, 4, 6); }, L"PSI: particle index out of range"));
}

}  // namespace lw
