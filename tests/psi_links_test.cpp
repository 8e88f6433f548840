#include <cmath>
#include <utility>
#include <vector>

#include "psi/emission.h"
#include "psi/forces.h"
#include "psi/link_patterns.h"
#include "psi/links.h"
#include "psi/registry.h"
#include "test_support.h"

namespace lw {

using PsiLinksTest = test::HostTest;
using Pairs = std::vector<std::pair<long long, long long>>;

namespace {

Pairs pairsOf(LinkRule rule) {
    Pairs pairs;
    forEachLinkPair(rule, [&pairs](std::int64_t a, std::int64_t b) { pairs.emplace_back(a, b); });
    return pairs;
}

// A 2-row by 3-column grid, two blocks: particles 0..11.
LinkRule grid(std::int32_t kind) { return LinkRule{kind, 0, 11, 3, 2, 0}; }

Particle at(double x, double forceScale) {
    Particle p{};
    p.position = Vec3{x, 0.0, 0.0};
    p.forceScale = forceScale;
    return p;
}

// The velocity a particle at the origin gains from one at distance d along x, forceScale 1.
double forceAt(double d) {
    Particle a = at(0, 1.0);
    Particle b = at(d, 1.0);
    pairForce(a, b);
    return a.velocity.x;
}

// Particles on the x axis, 1 unit apart, at rest, under a force that reaches every pair; the
// velocities along x after one pass of the given rules.
std::vector<double> velocitiesAfterPass(int count, const std::vector<LinkRule>& rules) {
    psiCreate(0);
    currentSystem->emitExtent = Vec3{};
    emit(count, 0, 0, 0);
    allocParamSets(1);
    *currentParamSet = ForceParams{100.0, 200.0, 300.0, 1.0, 1.0};
    allocLinks(static_cast<int>(rules.size()), 0);
    for (std::size_t i = 0; i < rules.size(); ++i) currentSystem->links[i] = rules[i];
    for (int i = 0; i < count; ++i) {
        currentSystem->particles[i].position = Vec3{double(i), 0.0, 0.0};
        currentSystem->particles[i].velocity = Vec3{};
    }
    linkPass(*currentSystem);
    std::vector<double> vx;
    for (int i = 0; i < count; ++i) vx.push_back(currentSystem->particles[i].velocity.x);
    return vx;
}

// The same pairs as single-pair rules, in the same order.
std::vector<double> velocitiesOfPairs(int count, const Pairs& pairs) {
    std::vector<LinkRule> rules;
    for (const auto& [a, b] : pairs) rules.push_back(LinkRule{0, std::int32_t(a), std::int32_t(b), 0, 0, 0});
    return velocitiesAfterPass(count, rules);
}

}  // namespace

TEST_F(PsiLinksTest, RingsChainsAndStrides) {
    EXPECT_EQ(pairsOf({4, 2, 5, 0, 0, 0}), (Pairs{{2, 3}, {3, 4}, {4, 5}, {5, 2}}));
    EXPECT_EQ(pairsOf({3, 2, 5, 0, 0, 0}), (Pairs{{2, 3}, {3, 4}, {4, 5}}));
    EXPECT_EQ(pairsOf({8, 0, 9, 5, 0, 0}),
              (Pairs{{0, 5}, {1, 6}, {2, 7}, {3, 8}, {4, 9}, {5, 1}, {6, 2}, {7, 3}, {8, 4}, {9, 5}}));
    EXPECT_EQ(pairsOf({0, 7, 3, 0, 0, 0}), (Pairs{{7, 3}}));
    EXPECT_EQ(pairsOf({1, 1, 4, 0, 0, 0}), (Pairs{{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}}));
    EXPECT_EQ(pairsOf({2, 0, 1, 5, 6, 0}), (Pairs{{0, 5}, {0, 6}, {1, 5}, {1, 6}}));
    EXPECT_EQ(pairsOf({5, 1, 9, 3, 0, 0}), (Pairs{{1, 4}, {4, 7}}));
    EXPECT_EQ(pairsOf({6, 1, 9, 3, 0, 0}), (Pairs{{1, 4}, {4, 7}, {4, 0}}));
    EXPECT_EQ(pairsOf({7, 1, 5, 3, 0, 0}), (Pairs{{1, 4}, {2, 5}}));
    EXPECT_EQ(pairsOf({13, 0, 4, 2, 0, 0}),
              (Pairs{{0, 2}, {0, 1}, {1, 3}, {1, 2}, {2, 4}, {2, 3}, {3, 1}, {3, 4}, {4, 2}, {4, 0}}));
}

TEST_F(PsiLinksTest, DegenerateRulesMakeNoPairsAndNeverHang) {
    EXPECT_TRUE(pairsOf({9, 0, 9, 1, 1, 0}).empty());
    EXPECT_TRUE(pairsOf({19, 0, 9, 1, 1, 0}).empty());
    EXPECT_TRUE(pairsOf({-1, 0, 9, 1, 1, 0}).empty());
    EXPECT_TRUE(pairsOf({6, 0, 3, 5, 0, 0}).empty()) << "no chain, so nothing to close";
    EXPECT_TRUE(pairsOf({5, 0, 9, 0, 0, 0}).empty()) << "a stride of 0 would never advance";
    EXPECT_TRUE(pairsOf({6, 0, 9, -2, 0, 0}).empty());
    for (std::int32_t kind : {10, 11, 12, 14, 15, 16, 17, 18}) {
        EXPECT_TRUE(pairsOf({kind, 0, 9, 0, -2, 0}).empty()) << "grid without a row width, kind " << kind;
    }
}

// Rows of 3 in blocks of 2 rows: rings or chains along the rows, links down the rows, and
// between the blocks as layers; nothing reaches from one block into the next unless it is a layer.
TEST_F(PsiLinksTest, GridKinds) {
    EXPECT_EQ(pairsOf(grid(10)), (Pairs{{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3},
                                        {6, 7}, {7, 8}, {8, 6}, {9, 10}, {10, 11}, {11, 9}}));
    EXPECT_EQ(pairsOf(grid(11)), (Pairs{{0, 1}, {0, 3}, {1, 2}, {1, 4}, {2, 0}, {2, 5}, {3, 4}, {4, 5}, {5, 3},
                                        {6, 7}, {6, 9}, {7, 8}, {7, 10}, {8, 6}, {8, 11}, {9, 10}, {10, 11}, {11, 9}}));
    EXPECT_EQ(pairsOf(grid(15)), (Pairs{{0, 1}, {0, 3}, {1, 2}, {1, 4}, {2, 5}, {3, 4}, {4, 5},
                                        {6, 7}, {6, 9}, {7, 8}, {7, 10}, {8, 11}, {9, 10}, {10, 11}}));
    EXPECT_EQ(pairsOf(grid(14)),
              (Pairs{{0, 1}, {0, 3}, {1, 2}, {1, 4}, {2, 0}, {2, 5}, {3, 4}, {3, 0}, {4, 5}, {4, 1}, {5, 3}, {5, 2},
                     {6, 7}, {6, 9}, {7, 8}, {7, 10}, {8, 6}, {8, 11}, {9, 10}, {9, 6}, {10, 11}, {10, 7}, {11, 9}, {11, 8}}));
    // Unlimited rows make one block of the whole range, three rows here.
    const Pairs whole = pairsOf({14, 0, 8, 3, -2, 0});
    EXPECT_EQ(Pairs(whole.end() - 2, whole.end()), (Pairs{{8, 6}, {8, 2}}));
    EXPECT_EQ(pairsOf({14, 0, 8, 3, -3, 0}), whole) << "-3: as many rows as the row width";
    EXPECT_EQ(pairsOf(grid(17)), (Pairs{{0, 1}, {0, 3}, {0, 6}, {1, 2}, {1, 4}, {1, 7}, {2, 5}, {2, 8},
                                        {3, 4}, {3, 9}, {4, 5}, {4, 10}, {5, 11},
                                        {6, 7}, {6, 9}, {7, 8}, {7, 10}, {8, 11}, {9, 10}, {10, 11}}));
    EXPECT_EQ(pairsOf(grid(12)), (Pairs{{0, 1}, {0, 3}, {0, 6}, {1, 2}, {1, 4}, {1, 7}, {2, 5}, {2, 8},
                                        {3, 4}, {3, 9}, {4, 5}, {4, 10}, {5, 11},
                                        {6, 7}, {6, 9}, {6, 0}, {7, 8}, {7, 10}, {7, 1}, {8, 11}, {8, 2},
                                        {9, 10}, {9, 3}, {10, 11}, {10, 4}, {11, 5}}));
    // A cube of side 2 has twelve edges.
    EXPECT_EQ(pairsOf({16, 0, 7, 2, 0, 0}),
              (Pairs{{0, 1}, {0, 2}, {0, 4}, {1, 3}, {1, 5}, {2, 3}, {2, 6}, {3, 7}, {4, 5}, {4, 6}, {5, 7}, {6, 7}}));
    EXPECT_EQ(pairsOf(grid(18)), (Pairs{{0, 1}, {0, 3}, {1, 2}, {1, 4}, {2, 3}, {2, 5}, {3, 4}, {4, 5}, {5, 0},
                                        {6, 7}, {6, 9}, {7, 8}, {7, 10}, {8, 9}, {8, 11}, {9, 10}, {10, 11}, {11, 6}}));
    // Three rows of two: row 1 ends at the third row, row 2 at itself, row 3 at the first.
    EXPECT_EQ(pairsOf({18, 0, 5, 2, 3, 0}), (Pairs{{0, 1}, {0, 2}, {1, 4}, {1, 3}, {2, 3}, {2, 4}, {3, 2}, {3, 5}, {4, 5}, {5, 0}}));
}

TEST_F(PsiLinksTest, WorkedValuesOfTheForceProfile) {
    workingParams = ForceParams{4.0, 8.0, 250.0, 700000.0, 700000.0};
    Particle a = at(5, 0.5);
    Particle b = at(7, 0.25);
    pairForce(a, b);
    EXPECT_DOUBLE_EQ(a.velocity.x, -350000.0 * 0.5) << "distance 2: t 0.5, pushed apart";
    EXPECT_DOUBLE_EQ(b.velocity.x, 350000.0 * 0.25);
    EXPECT_EQ(forceAt(4.0), 0.0) << "nothing at innerRadius";
    EXPECT_DOUBLE_EQ(forceAt(6.0), 350000.0) << "half-way up the ramp";
    EXPECT_DOUBLE_EQ(forceAt(8.0), 700000.0) << "full attraction at outerRadius";
    EXPECT_DOUBLE_EQ(forceAt(250.0), 70000.0) << "a tenth at falloffRange";
    EXPECT_DOUBLE_EQ(forceAt(8.0 + 2 * 242.0), 700000.0 / 37.0) << "twice as far into the falloff";
    workingParams = ForceParams{20.0, 0.0, 0.0, 70000.0, 50000.0};
    EXPECT_EQ(forceAt(20.5), 0.0) << "falloffRange equal to outerRadius: repulsion only";
    EXPECT_DOUBLE_EQ(forceAt(10.0), -2.0 * 50000.0 * 0.5 * 0.5) << "t 0.5 of the repulsion";

    // Coincident particles get a random kick, equal and opposite; none from itself.
    seedRandomWith(99);
    const Vec3 kick = randCube(1.0);
    seedRandomWith(99);
    Particle c = at(3, 0.5);
    Particle d = at(3, 0.5);
    pairForce(c, d);
    EXPECT_EQ(c.velocity, kick * 0.5);
    EXPECT_EQ(d.velocity, kick * -0.5);
    pairForce(c, c);
    EXPECT_EQ(c.velocity, kick * 0.5);
}

TEST_F(PsiLinksTest, PassAppliesEveryPairInsideTheArrayOnly) {
    // Pairs inside the array act once each; those that leave it are dropped, whatever the kind.
    EXPECT_EQ(velocitiesAfterPass(5, {{3, 0, 40, 0, 0, 0}}), velocitiesOfPairs(5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}));
    EXPECT_EQ(velocitiesAfterPass(5, {{11, 0, 4, 3, -2, 0}}),
              velocitiesOfPairs(5, {{0, 1}, {0, 3}, {1, 2}, {1, 4}, {2, 0}, {3, 4}}))
        << "the unfinished second row";
    EXPECT_EQ(velocitiesAfterPass(5, {{0, -3, 1, 0, 0, 0}}), std::vector<double>(5, 0.0));
    // Extreme indexes must neither overflow nor reach memory (the sanitizer build watches).
    velocitiesAfterPass(5, {{1, -100, 100, 0, 0, 0}, {16, 0, 2000, 2147483647, 0, 0},
                            {8, 2147483600, 2147483647, 2147483647, 0, 0}, {18, -2147483647 - 1, -2147483000, 1000, 2147483647, 0}});

    velocitiesAfterPass(2, {{0, 0, 1, 0, 0, 0}});
    currentSystem->linkPeriod = 2;
    std::vector<int> passes;
    for (int frame = 1; frame <= 8; ++frame) {
        const double before = currentSystem->particles[0].velocity.x;
        linkPass(*currentSystem);
        if (currentSystem->particles[0].velocity.x != before) passes.push_back(frame);
    }
    EXPECT_EQ(passes, (std::vector<int>{1, 4, 7}));
    currentSystem->links[0].paramSet = 1;
    currentSystem->linkCountdown = 0;
    EXPECT_TRUE(test::endsInFatalError([] { linkPass(*currentSystem); }, L"PSI: link parameter set out of range"));
}

}  // namespace lw
