#include <cmath>
#include <vector>

#include "psi/emission.h"
#include "psi/registry.h"
#include "test_support.h"

namespace lw {

using PsiEmissionTest = test::HostTest;

TEST_F(PsiEmissionTest, WorkedDrawsFromSeedOne) {
    headless::setTickCount(1);
    seedRandom();
    // Seed 1 gives 41, 18467, 6334, ...; zero ranges draw nothing.
    EXPECT_EQ(randSym(0.0), 0.0);
    EXPECT_EQ(jitterInt(-7, 0), -7);
    EXPECT_EQ(jitterColour(0x12345678u, 0), 0x12345678u) << "alpha below 255 stays";
    EXPECT_EQ(randomState, 1u);
    EXPECT_DOUBLE_EQ(randSym(10.0), 41 * 20.0 / 32767.0 - 10.0);
    seedRandomWith(1);
    EXPECT_EQ(jitterColour(0x00808080u, 40), 0xFF688559u) << "blue draws first, then green, then red";
    seedRandomWith(1);
    EXPECT_EQ(jitterInt(100, 40), 61) << "-39.4 truncates toward zero";
    // Jitter is clamped per channel: a black base never wraps round to bright, white never to dark.
    for (int i = 0; i < 300; ++i) {
        ASSERT_LE(jitterColour(0x00000000u, 40) & 0xFFFFFFu, 0x282828u);
        const std::uint32_t c = jitterColour(0xFFFFFFFFu, 40);
        for (int shift : {0, 8, 16}) ASSERT_GE((c >> shift) & 0xFF, 215u);
        ASSERT_NEAR(length(randDirection(100.0, 0.0)), 100.0, 1e-9);
    }
}

TEST_F(PsiEmissionTest, OneParticleDrawsNineTimesInItsOrder) {
    psiCreate(0);
    ParticleSystem& s = *currentSystem;
    s.emitExtent = Vec3{300.0, 300.0, 300.0};
    s.lifetime = 100;
    s.lifetimeJitter = 5;
    s.baseColour = 0x00808080u;
    s.colourJitter = 10;
    seedRandomWith(77);
    std::vector<double> r;
    for (int i = 0; i < 10; ++i) r.push_back(rand15());
    seedRandomWith(77);
    emit(1, 1, 33, 1);
    const Particle& p = s.particles[0];

    const double speed = 100.0 + (r[0] * 100.0 * kRandScale - 50.0);
    EXPECT_EQ(p.velocity, (Vec3{speed, speed, speed}));
    EXPECT_EQ(p.position, (Vec3{r[3] * 600.0 * kRandScale - 300.0, r[2] * 600.0 * kRandScale - 300.0,
                                r[1] * 600.0 * kRandScale - 300.0})) << "z draws first";
    EXPECT_EQ(p.style, static_cast<int>(r[4] * 32.0 * kRandScale + 1.0 + 0.5));
    EXPECT_EQ(p.lifetime, 100 + static_cast<int>(r[5] * 10.0 * kRandScale - 5.0 + 0.5));
    EXPECT_EQ(p.ttl, p.lifetime);
    EXPECT_EQ(p.colour & 0xFF, 0x80u + static_cast<std::uint32_t>(static_cast<int>(r[6] * 20.0 * kRandScale - 10.0 + 0.5)));
    EXPECT_EQ((p.colour >> 16) & 0xFF, 0x80u + static_cast<std::uint32_t>(static_cast<int>(r[8] * 20.0 * kRandScale - 10.0 + 0.5)));
    EXPECT_EQ(p.size, 1.0);
    EXPECT_EQ(p.timeScale, 1.0);
    EXPECT_EQ(p.damping, 0.1);
    EXPECT_EQ(p.forceScale, 0.3);
    EXPECT_EQ(rand15(), r[9]) << "exactly nine draws";
}

TEST_F(PsiEmissionTest, StylesRepeatOrAreDrawnWithinTheRange) {
    psiCreate(0);
    emit(7, 3, 5, 0);
    std::vector<int> styles;
    for (int i = 0; i < 7; ++i) styles.push_back(currentSystem->particles[i].style);
    EXPECT_EQ(styles, (std::vector<int>{3, 4, 5, 3, 4, 5, 3}));
    EXPECT_EQ(currentParticle, &currentSystem->particles[6]);

    emit(400, 4, 8, 1);
    std::vector<int> seen(9, 0);
    for (int i = 0; i < 400; ++i) {
        const int style = currentSystem->particles[i].style;
        ASSERT_TRUE(style >= 4 && style <= 8) << style;
        ++seen[style];
    }
    EXPECT_TRUE(seen[4] > 0 && seen[8] > 0);
    EXPECT_TRUE(test::endsInFatalError([] { emit(-1, 0, 0, 0); }, L"PSI: particle count out of range"));
}

}  // namespace lw
