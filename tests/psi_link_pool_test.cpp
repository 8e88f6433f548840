// The link pass shared out on the band pool against the serial pass: the same velocities to the
// last bit, the same random draws, the same state left behind, over random systems.
#include <cstring>
#include <random>
#include <vector>

#include "psi/emission.h"
#include "psi/forces.h"
#include "psi/link_pairs.h"
#include "psi/links.h"
#include "sprites/band_pool.h"
#include "test_support.h"

namespace lw {

using PsiLinkPoolTest = test::HostTest;

namespace {

// Kinds whose pairs reach far enough to be shared, with a few out of range and a few pairs of a
// particle with itself (a wrapped stride of the whole range).
LinkRule randomRule(std::mt19937& random, int count, int paramSets) {
    const std::int32_t kinds[] = {3, 4, 5, 6, 7, 8, 11, 13, 14, 15, 17};
    const std::int32_t kind = kinds[random() % std::size(kinds)];
    const std::int32_t first = static_cast<std::int32_t>(random() % 40);
    const std::int32_t last = count - 1 + static_cast<std::int32_t>(random() % 5);  // a few past the end
    const std::int32_t step = 1 + static_cast<std::int32_t>(random() % 400);
    return LinkRule{kind, first, last, step, -2, static_cast<std::int32_t>(random() % paramSets)};
}

// A system of particles in a small cube, so that the force reaches many pairs; some stacked on
// their neighbour (coincident pairs draw a random direction).
void buildRandomSystem(std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(-40.0, 40.0);
    const int count = 4200 + static_cast<int>(random() % 3000);
    psiCreate(0);
    emit(count, 0, 0, 0);
    ParticleSystem& system = *currentSystem;
    for (int i = 0; i < count; ++i) {
        Particle& p = system.particles[i];
        p.position = i > 0 && random() % 50 == 0 ? system.particles[i - 1].position
                                                  : Vec3{coordinate(random), coordinate(random), coordinate(random)};
        p.velocity = Vec3{coordinate(random), coordinate(random), coordinate(random)};
        p.forceScale = 0.01 + (random() % 100) * 0.013;
    }
    const int paramSets = 3;
    allocParamSets(paramSets);
    system.paramSets[0] = ForceParams{3.0, 9.0, 30.0, 0.7, 1.3};
    system.paramSets[1] = ForceParams{5.0, 12.0, 12.0, 0.0, 2.1};  // no attraction at all
    system.paramSets[2] = ForceParams{1.5, 4.0, 90.0, 0.04, 0.9};
    // A ring over them all first: enough pairs to share out.
    const int links = 1 + static_cast<int>(random() % 4);
    allocLinks(links, 0);
    system.links[0] = LinkRule{4, 0, count - 1, 0, 0, 0};
    for (int i = 1; i < links; ++i) system.links[i] = randomRule(random, count, paramSets);
}

struct PassResult {
    std::vector<Particle> particles;
    double lastLength = 0.0;
    double nextRandom = 0.0;
    LinkRule link{};
    ForceParams params{};
    bool shared = false;
};

PassResult passWith(int threads, std::uint32_t seed) {
    stopBandPool();
    startBandPool(threads);
    buildRandomSystem(seed);
    seedRandomWith(seed);
    lastLength = -1.0;
    PassResult result;
    if (threads == 1) {
        linkPass(*currentSystem);
    } else {
        result.shared = linkPassOnPool(*currentSystem);
    }
    const ParticleSystem& system = *currentSystem;
    result.particles.assign(system.particles, system.particles + system.particleCount);
    result.lastLength = lastLength;
    result.nextRandom = randSym(1.0);
    result.link = workingLink;
    result.params = workingParams;
    stopBandPool();
    releaseLinkPairs();
    return result;
}

bool sameBits(const PassResult& a, const PassResult& b) {
    return a.particles.size() == b.particles.size() &&
           std::memcmp(a.particles.data(), b.particles.data(), sizeof(Particle) * a.particles.size()) == 0 &&
           std::memcmp(&a.lastLength, &b.lastLength, sizeof(double)) == 0 &&
           std::memcmp(&a.nextRandom, &b.nextRandom, sizeof(double)) == 0 && a.link == b.link && a.params == b.params;
}

}  // namespace

TEST_F(PsiLinkPoolTest, SharedPassEqualsSerialPassBitForBit) {
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        const PassResult serial = passWith(1, seed);
        for (int threads : {2, 3, 8}) {
            const PassResult shared = passWith(threads, seed);
            EXPECT_TRUE(shared.shared);
            EXPECT_TRUE(sameBits(serial, shared)) << "seed " << seed << ", " << threads << " threads";
        }
    }
}

// The list is kept while the links stay; a changed rule must be seen at once.
TEST_F(PsiLinkPoolTest, ChangedLinksAreListedAgain) {
    startBandPool(2);
    buildRandomSystem(5);
    ParticleSystem& system = *currentSystem;
    linkPass(system);
    system.links[0].step += 7;
    std::vector<Particle> before(system.particles, system.particles + system.particleCount);
    seedRandomWith(9);
    linkPass(system);
    std::vector<Particle> shared(system.particles, system.particles + system.particleCount);
    stopBandPool();
    std::copy(before.begin(), before.end(), system.particles);
    seedRandomWith(9);
    linkPass(system);
    EXPECT_EQ(std::memcmp(shared.data(), system.particles, sizeof(Particle) * shared.size()), 0);
}

}  // namespace lw
