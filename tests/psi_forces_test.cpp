#include <cmath>

#include "psi/emission.h"
#include "psi/forces.h"
#include "psi/registry.h"
#include "test_support.h"

namespace lw {

namespace {

Particle at(double x, double y, double z, double forceScale) {
    Particle p{};
    p.position = Vec3{x, y, z};
    p.forceScale = forceScale;
    return p;
}

class PsiForcesTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        workingParams = ForceParams{4.0, 8.0, 250.0, 700000.0, 700000.0};
    }
    // The force on a from b at distance d along x, with forceScale 1: the velocity a gains.
    static double forceAt(double d) {
        Particle a = at(0, 0, 0, 1.0);
        Particle b = at(d, 0, 0, 1.0);
        pairForce(a, b);
        return a.velocity.x;
    }
};

}  // namespace

TEST_F(PsiForcesTest, WorkedValuesOfTheProfile) {
    Particle a = at(1, 5, 0, 0.5);
    Particle b = at(1, 7, 0, 0.25);
    pairForce(a, b);
    EXPECT_DOUBLE_EQ(a.velocity.y, -350000.0 * 0.5) << "distance 2: t 0.5, pushed apart";
    EXPECT_DOUBLE_EQ(b.velocity.y, 350000.0 * 0.25);
    EXPECT_EQ(a.velocity.x, 0.0);

    EXPECT_EQ(forceAt(4.0), 0.0) << "nothing at innerRadius";
    EXPECT_DOUBLE_EQ(forceAt(6.0), 350000.0) << "half-way up the ramp";
    EXPECT_DOUBLE_EQ(forceAt(8.0), 700000.0) << "full attraction at outerRadius";
    EXPECT_DOUBLE_EQ(forceAt(250.0), 70000.0) << "a tenth at falloffRange";
    EXPECT_GT(forceAt(1e6), 0.0) << "the falloff never reaches zero";
    EXPECT_NEAR(forceAt(1e-12), -700000.0, 1e-3) << "full repulsion close to distance 0";

    EXPECT_EQ(falloff(0.0, 10.0), 1.0);
    EXPECT_DOUBLE_EQ(falloff(10.0, 10.0), 0.1);
}

TEST_F(PsiForcesTest, RepulsionOnlyWhenFalloffEqualsOuterRadius) {
    workingParams = ForceParams{20.0, 0.0, 0.0, 70000.0, 70000.0};
    EXPECT_EQ(forceAt(20.5), 0.0);
    EXPECT_EQ(forceAt(500.0), 0.0);
    EXPECT_LT(forceAt(19.0), 0.0);
    workingParams = ForceParams{20.0, 50.0, 50.0, 70000.0, 70000.0};
    EXPECT_EQ(forceAt(30.0), 0.0) << "the ramp is off as well";
}

TEST_F(PsiForcesTest, CoincidentParticlesGetARandomKick) {
    seedRandomWith(99);
    const Vec3 expected = randCube(1.0);
    seedRandomWith(99);
    Particle a = at(3, 3, 3, 0.5);
    Particle b = at(3, 3, 3, 0.5);
    pairForce(a, b);
    EXPECT_DOUBLE_EQ(a.velocity.x, expected.x * 0.5);
    EXPECT_DOUBLE_EQ(a.velocity.z, expected.z * 0.5);
    EXPECT_DOUBLE_EQ(b.velocity.y, -expected.y * 0.5);
    EXPECT_LE(length(a.velocity), std::sqrt(3.0) * 0.5);

    const std::uint32_t before = randomState;
    pairForce(a, a);
    EXPECT_EQ(randomState, before) << "a particle exerts no force on itself";
    EXPECT_DOUBLE_EQ(a.velocity.x, expected.x * 0.5);
}

TEST_F(PsiForcesTest, EqualAndOppositeForcesKeepMomentum) {
    seedRandomWith(5);
    const ForceParams profiles[] = {{4, 8, 250, 700000, 700000}, {20, 0, 0, 70000, 70000}, {300, 0, 0, 210000, 210000},
                                    {40, 80, 200, 1, 4}};
    for (const ForceParams& params : profiles) {
        workingParams = params;
        for (int trial = 0; trial < 200; ++trial) {
            Particle a = at(randSym(150), randSym(150), randSym(150), 0.5);
            Particle b = at(randSym(150), randSym(150), randSym(150), 0.5);
            a.velocity = Vec3{randSym(10), randSym(10), randSym(10)};
            b.velocity = Vec3{randSym(10), randSym(10), randSym(10)};
            const Vec3 aBefore = a.velocity;
            const Vec3 before = a.velocity + b.velocity;
            pairForce(a, b);
            const Vec3 after = a.velocity + b.velocity;
            const double scale = 1.0 + length(a.velocity) + length(b.velocity);
            ASSERT_NEAR(after.x, before.x, 1e-12 * scale);
            ASSERT_NEAR(after.y, before.y, 1e-12 * scale);
            ASSERT_NEAR(after.z, before.z, 1e-12 * scale);
            // Along the line between them, the force is central: no turning moment.
            const Vec3 change = a.velocity - aBefore;
            const Vec3 moment = cross(change, b.position - a.position);
            ASSERT_NEAR(length(moment), 0.0, 1e-9 * scale * length(b.position - a.position));
        }
    }
}

TEST_F(PsiForcesTest, LoadLinkCopiesTheRuleAndItsParameters) {
    psiCreate(0);
    allocParamSets(2);
    currentSystem->paramSets[1] = ForceParams{1, 2, 3, 4, 5};
    allocLinks(2, 0);
    currentSystem->links[1] = LinkRule{8, 10, 20, 5, 0, 1};
    loadLink(1);
    EXPECT_EQ(workingLink.kind, 8);
    EXPECT_EQ(workingLink.step, 5);
    EXPECT_EQ(workingParams.falloffRange, 3.0);
    EXPECT_EQ(workingParams.repulsion, 5.0);
    EXPECT_TRUE(test::endsInFatalError([] { loadLink(2); }, L"PSI: link index out of range"));
}

}  // namespace lw
