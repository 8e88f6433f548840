// The whole sprite path at once: the scene's texture styles and a few of every other spot blend,
// drawn by renderFrame from a cache of particles at different depths, some cut by the frame's
// edges, compared with a reference picture.
#include <cmath>
#include <utility>

#include "reference_picture.h"
#include "scene/scene.h"
#include "sprites/dispatch.h"
#include "sprites/styles.h"
#include "test_support.h"

namespace lw {

namespace {

using TexturedSpotsPictureTest = test::HostTest;

constexpr int kSpiralParticles = 44;
constexpr std::uint32_t kTints[4] = {0xFFFFFFFF, 0xFFFFD0A0, 0xFFA0D0FF, 0xFFC0FFC0};

// A style of another blend mode, with the scene's texture scale.
void extraStyle(int slot, std::uint32_t kindCode, std::uint32_t colour, const wchar_t* image) {
    copyStyle(textureStyleFirst, slot);
    setupStyle(*currentStyle, kindCode, colour, image);
}

void placeParticle(int i, double x, double y, double z, double size) {
    Particle& p = currentSystem->particles[i];
    p.position = {x, y, z};
    p.size = size;
    p.colour = kTints[i % 4];
}

// A spiral whose outer turns leave the frame, at depths from just behind the near cut to deep in
// the fog, then four sprites straddling the edges and a corner.
void emitParticles() {
    emit(kSpiralParticles + 4, textureStyleFirst, textureStyleLast, 0);
    for (int k = 0; k < kSpiralParticles; ++k) {
        const double angle = k * 2.39996;
        const double radius = 20.0 + 9.0 * k;
        const double z = -70.0 + (k * 37) % 230;
        placeParticle(k, radius * std::cos(angle), 0.8 * radius * std::sin(angle), z, 6.0 + (k * 5) % 13);
    }
    placeParticle(kSpiralParticles + 0, -395.0, 0.0, 0.0, 14.0);
    placeParticle(kSpiralParticles + 1, 0.0, 298.0, 0.0, 12.0);
    placeParticle(kSpiralParticles + 2, 405.0, -305.0, 0.0, 16.0);
    placeParticle(kSpiralParticles + 3, 120.0, -302.0, -40.0, 10.0);
    for (int k = 3; k < kSpiralParticles; k += 7) currentSystem->particles[k].style = 40;
    for (int k = 5; k < kSpiralParticles; k += 11) currentSystem->particles[k].style = 41;
    currentSystem->particles[kSpiralParticles + 3].style = 42;
}

}  // namespace

TEST_F(TexturedSpotsPictureTest, SceneTexturesRenderAsTheReferencePicture) {
    seedRandomWith(20240611);
    setFrameSize(320, 240);
    backgroundColour = 0xFF0A1428;
    setUpSceneStyles();
    extraStyle(40, 0x30002, 0xFFFFB060, L"KOR_12");  // Add
    extraStyle(41, 0x30004, 0xFF4080FF, L"KOR_03");  // Multiply
    extraStyle(42, 0x30003, 0xFF6060FF, L"compSPOT");  // Subtract
    selectSystemSlot(0);
    emitParticles();

    renderFrame();
    EXPECT_TRUE(test::matchesReference("textured_spots", test::viewPicture()));
    // A style's images are checked again in each frame, not only in the first that drew it.
    std::uint32_t* const image = std::exchange(styleTable[40]->images[2], nullptr);
    EXPECT_TRUE(test::endsInFatalError([] { renderFrame(); }, L"PSI: spot drawn without its images or division table"));
    styleTable[40]->images[2] = image;
}

}  // namespace lw
