#include <cmath>
#include <cstring>
#include <vector>

#include "psi/emission.h"
#include "psi/registry.h"
#include "test_support.h"

namespace lw {

using PsiEmissionTest = test::HostTest;

namespace {

std::vector<double> nextDraws(std::uint32_t seed, int n) {
    seedRandomWith(seed);
    std::vector<double> draws;
    for (int i = 0; i < n; ++i) draws.push_back(rand15());
    seedRandomWith(seed);
    return draws;
}

// A system whose emission draws nothing at all.
void createQuietSystem(int slot) {
    psiCreate(slot);
    currentSystem->speedJitter = 0.0;
    currentSystem->emitExtent = Vec3{};
}

}  // namespace

TEST_F(PsiEmissionTest, ZeroRangesDrawNothing) {
    const std::uint32_t before = randomState;
    EXPECT_EQ(randSym(0.0), 0.0);
    EXPECT_EQ(jitterReal(3.5, 0.0), 3.5);
    EXPECT_EQ(jitterInt(-7, 0), -7);
    EXPECT_EQ(jitterColour(0x12345678u, 0), 0x12345678u) << "alpha below 255 stays";
    EXPECT_EQ(randomState, before);
}

TEST_F(PsiEmissionTest, WorkedDrawsFromSeedOne) {
    // Seed 1 gives 41, 18467, 6334, ...
    EXPECT_DOUBLE_EQ(randSym(10.0), 41 * 20.0 / 32767.0 - 10.0);
    seedRandomWith(1);
    EXPECT_EQ(jitterColour(0x00808080u, 40), 0xFF688559u) << "blue draws first, then green, then red";
    seedRandomWith(1);
    EXPECT_EQ(jitterInt(100, 40), 61) << "-39.4 truncates toward zero";
    seedRandomWith(1);
    const Vec3 box = randInBox(Vec3{1.0, 2.0, 3.0}, Vec3{1.0, 10.0, 100.0});
    EXPECT_DOUBLE_EQ(box.z, 3.0 + 41 * 200.0 / 32767.0 - 100.0) << "z draws first";
    EXPECT_DOUBLE_EQ(box.y, 2.0 + 18467 * 20.0 / 32767.0 - 10.0);
    EXPECT_DOUBLE_EQ(box.x, 1.0 + 6334 * 2.0 / 32767.0 - 1.0);
    seedRandomWith(1);
    const Vec3 cube = randCube(1.0);
    EXPECT_DOUBLE_EQ(cube.x, 41 * 2.0 / 32767.0 - 1.0) << "x draws first";
    EXPECT_DOUBLE_EQ(cube.z, 6334 * 2.0 / 32767.0 - 1.0);
}

TEST_F(PsiEmissionTest, JitteredColoursStayInRangeAndOpaque) {
    for (int i = 0; i < 500; ++i) {
        const std::uint32_t c = jitterColour(0xFFFFFFFFu, 40);
        ASSERT_EQ(c >> 24, 0xFFu);
        for (int shift : {0, 8, 16}) {
            const std::uint32_t channel = (c >> shift) & 0xFF;
            ASSERT_GE(channel, 215u);
            ASSERT_LE(channel, 255u);
        }
        // Clamped at the bottom as well: a black base never wraps round to bright.
        ASSERT_LE(jitterColour(0x00000000u, 40) & 0xFFFFFFu, 0x282828u);
    }
}

TEST_F(PsiEmissionTest, RandomDirectionHasTheDrawnSpeed) {
    for (int i = 0; i < 50; ++i) {
        const Vec3 v = randDirection(100.0, 0.0);
        ASSERT_NEAR(length(v), 100.0, 1e-9);
        ASSERT_GT(lastLength, 0.0);
        ASSERT_LE(lastLength, std::sqrt(3.0));
    }
    const Vec3 v = randDirection(100.0, 50.0);
    EXPECT_GE(length(v), 50.0 - 1e-9);
    EXPECT_LE(length(v), 150.0 + 1e-9);
}

TEST_F(PsiEmissionTest, DrawOrderOfOneParticle) {
    psiCreate(0);
    ParticleSystem& s = *currentSystem;
    s.emitExtent = Vec3{300.0, 300.0, 300.0};
    s.lifetime = 100;
    s.lifetimeJitter = 5;
    s.baseColour = 0x00808080u;
    s.colourJitter = 10;
    const std::vector<double> r = nextDraws(77, 9);
    emit(1, 1, 33, 1);
    const Particle& p = s.particles[0];

    const double speed = 100.0 + (r[0] * 100.0 * kRandScale - 50.0);
    EXPECT_EQ(p.velocity.x, speed);
    EXPECT_EQ(p.velocity.z, speed) << "all three components get the same speed";
    EXPECT_EQ(p.position.z, r[1] * 600.0 * kRandScale - 300.0);
    EXPECT_EQ(p.position.y, r[2] * 600.0 * kRandScale - 300.0);
    EXPECT_EQ(p.position.x, r[3] * 600.0 * kRandScale - 300.0);
    EXPECT_EQ(p.style, static_cast<int>(r[4] * 32.0 * kRandScale + 1.0 + 0.5));
    EXPECT_EQ(p.lifetime, 100 + static_cast<int>(r[5] * 10.0 * kRandScale - 5.0 + 0.5));
    EXPECT_EQ(p.ttl, p.lifetime);
    EXPECT_EQ(p.colour & 0xFF, 0x80u + static_cast<std::uint32_t>(static_cast<int>(r[6] * 20.0 * kRandScale - 10.0 + 0.5)));
    EXPECT_EQ((p.colour >> 16) & 0xFF, 0x80u + static_cast<std::uint32_t>(static_cast<int>(r[8] * 20.0 * kRandScale - 10.0 + 0.5)));
    EXPECT_EQ(p.size, 1.0);
    EXPECT_EQ(p.timeScale, 1.0);
    EXPECT_EQ(p.damping, 0.1);
    EXPECT_EQ(p.forceScale, 0.3);
    const std::uint32_t afterEmit = randomState;
    const double tenth = nextDraws(77, 10)[9];
    randomState = afterEmit;
    EXPECT_EQ(rand15(), tenth) << "exactly nine draws";
}

TEST_F(PsiEmissionTest, ASeedReproducesAnEmission) {
    psiCreate(0);
    currentSystem->colourJitter = 30;
    currentSystem->lifetimeJitter = 4;
    seedRandomWith(2024);
    emit(300, 0, 32, 1);
    std::vector<Particle> first(currentSystem->particles, currentSystem->particles + 300);
    seedRandomWith(2024);
    emit(300, 0, 32, 1);
    EXPECT_EQ(std::memcmp(first.data(), currentSystem->particles, 300 * sizeof(Particle)), 0);
    seedRandomWith(2025);
    emit(300, 0, 32, 1);
    EXPECT_NE(std::memcmp(first.data(), currentSystem->particles, 300 * sizeof(Particle)), 0);
}

TEST_F(PsiEmissionTest, StyleChoice) {
    createQuietSystem(0);
    emit(7, 3, 5, 0);
    std::vector<int> styles;
    for (int i = 0; i < 7; ++i) styles.push_back(currentSystem->particles[i].style);
    EXPECT_EQ(styles, (std::vector<int>{3, 4, 5, 3, 4, 5, 3}));

    const std::uint32_t before = randomState;
    emit(5, 9, 9, 1);
    EXPECT_EQ(randomState, before) << "one style to choose from needs no draw";
    for (int i = 0; i < 5; ++i) EXPECT_EQ(currentSystem->particles[i].style, 9);

    emit(400, 4, 8, 1);
    bool sawFirst = false, sawLast = false;
    for (int i = 0; i < 400; ++i) {
        const int style = currentSystem->particles[i].style;
        ASSERT_GE(style, 4);
        ASSERT_LE(style, 8);
        sawFirst |= style == 4;
        sawLast |= style == 8;
    }
    EXPECT_TRUE(sawFirst && sawLast);
}

TEST_F(PsiEmissionTest, ReEmissionAndCounts) {
    createQuietSystem(0);
    emit(10, 0, 0, 0);
    EXPECT_EQ(currentSystem->particleCount, 10u);
    EXPECT_EQ(currentSystem->particles[9].lifetime, 0);
    EXPECT_EQ(currentSystem->particles[9].ttl, 0);
    EXPECT_EQ(currentParticle, &currentSystem->particles[9]);
    emit(0, 0, 0, 0);
    EXPECT_EQ(currentSystem->particleCount, 0u);
    EXPECT_NE(currentSystem->particles, nullptr);
    EXPECT_TRUE(test::endsInFatalError([] { emit(-1, 0, 0, 0); }, L"PSI: particle count out of range"));
}

}  // namespace lw
