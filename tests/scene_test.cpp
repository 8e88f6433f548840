#include "scene/scene.h"

#include <cmath>
#include <filesystem>

#include "host/headless/png_file.h"
#include "reference_picture.h"
#include "overlay/overlays.h"
#include "psi/psi.h"
#include "raster/frame_buffer.h"
#include "raster/small_frame.h"
#include "sprites/styles.h"
#include "test_support.h"
#include "view/camera.h"

namespace lw {

class SceneTest : public test::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        resetScene();
    }
    void TearDown() override {
        releaseSpriteTables();
        resetScene();
        HostTest::TearDown();
    }
    // The program's configuration on a small screen, and the scene set up from a fixed seed.
    static void setUpScene(int width = 320, int height = 240, std::uint32_t seed = 7) {
        headless::setScreenSize(width, height);
        headless::setTickCount(seed);
        setFrameSize(kScreenSize, 1024);
        backgroundColour = 0xFFA08CF0;
        sceneSetUp();
    }
    static double cameraZ() { return cameraSlots[1]->position.z; }
    static int spinY() { return cameraSlots[1]->spinCounts[1]; }
};

TEST_F(SceneTest, SetUpBuildsTheRingOfSpringsAndTheTurningCamera) {
    setUpScene();
    ParticleSystem& system = *systemSlots[0];
    ASSERT_EQ(system.particleCount, 8500u);
    ASSERT_EQ(system.linkCount, 3u);
    EXPECT_EQ(system.links[0].paramSet, 0);
    EXPECT_EQ(system.links[1].paramSet, 1);
    EXPECT_EQ(system.links[1].step, 5);
    EXPECT_EQ(system.links[2].paramSet, 2);
    EXPECT_EQ(system.links[2].step, 350);
    ASSERT_EQ(system.paramSetCount, 3u);
    EXPECT_EQ(system.paramSets[0].innerRadius, 4);
    EXPECT_EQ(system.paramSets[0].outerRadius, 8);
    EXPECT_EQ(system.paramSets[0].falloffRange, 250);
    EXPECT_EQ(system.paramSets[0].attraction, 700000);
    EXPECT_EQ(system.paramSets[1].innerRadius, 20);
    EXPECT_EQ(system.paramSets[1].outerRadius, 0);
    EXPECT_EQ(system.paramSets[1].repulsion, 70000);
    EXPECT_EQ(system.paramSets[2].innerRadius, 300);
    EXPECT_EQ(system.paramSets[2].attraction, 210000);
    EXPECT_EQ(system.externalForce, &centralAttraction);
    EXPECT_EQ(system.cameraSlot, 1);

    // Every particle took particle 0's physics but kept its own place and texture.
    for (std::uint32_t i = 0; i < system.particleCount; i += 997) {
        const Particle& p = system.particles[i];
        EXPECT_EQ(p.timeScale, 2.5e-6);
        EXPECT_EQ(p.damping, 0.35);
        EXPECT_EQ(p.forceScale, 0.5);
        EXPECT_EQ(p.style, textureStyleFirst + static_cast<int>(i % 33));
        EXPECT_LE(std::abs(p.position.x), 300.0);
    }
    EXPECT_NE(system.particles[1].position.x, system.particles[2].position.x);

    const Camera& camera = *cameraSlots[1];
    EXPECT_EQ(camera.spinCounts[1], 1);
    EXPECT_DOUBLE_EQ(camera.spinAngle, M_PI / 750);
    EXPECT_EQ(textureStyleLast - textureStyleFirst, 32);
    EXPECT_TRUE(headless::timerActive(1000));
}

TEST_F(SceneTest, CentralAttractionPullsToTheOrigin) {
    attractionStrength = 2.0;
    Particle particle{};
    particle.position = {1, -2, 3};
    currentParticle = &particle;
    const Vec3 force = centralAttraction();
    EXPECT_EQ(force.x, -2.0);
    EXPECT_EQ(force.y, 4.0);
    EXPECT_EQ(force.z, -6.0);
}

TEST_F(SceneTest, ZoomStopsAtItsLimitsAndAWheelOfZeroDoesNothing) {
    setUpScene();
    for (int frame = 0; frame < 60; ++frame) {
        recordKeyPress(vk::Up);
        ASSERT_EQ(sceneControls(), 1);
    }
    EXPECT_EQ(cameraZ(), -352.5);
    recordWheel(0);
    sceneControls();
    EXPECT_EQ(cameraZ(), -352.5);
    recordWheel(static_cast<int>(0xFF880000u));  // backwards: away
    sceneControls();
    EXPECT_EQ(cameraZ(), -345.0);
    for (int frame = 0; frame < 120; ++frame) {
        recordKeyPress(vk::Down);
        sceneControls();
    }
    EXPECT_EQ(cameraZ(), 352.5);
}

TEST_F(SceneTest, PauseResumeAndSteering) {
    setUpScene();
    recordButtonPress(MouseButton::Left);  // a press alone does nothing
    sceneControls();
    EXPECT_EQ(spinY(), 1);
    recordButtonRelease(MouseButton::Left);
    sceneControls();
    EXPECT_EQ(spinY(), 0);
    EXPECT_EQ(savedSpin, 1);
    recordKeyRelease(vk::Space);
    sceneControls();
    EXPECT_EQ(spinY(), 1);  // resumed in the same direction
    EXPECT_EQ(savedSpin, 0);

    recordButtonRelease(MouseButton::Right);
    sceneControls();
    recordKeyPress(vk::Left);  // Left while paused turns the other way and forgets the pause
    sceneControls();
    EXPECT_EQ(spinY(), -1);
    EXPECT_EQ(savedSpin, 0);

    recordMouseMove(100, 100);
    clearInput();  // the position stays, the move is forgotten
    recordMouseMove(98, 100);  // dx = 2: too small to steer
    sceneControls();
    EXPECT_EQ(spinY(), -1);
    recordMouseMove(90, 100);  // dragged left by 8
    sceneControls();
    EXPECT_EQ(spinY(), -1);
    recordMouseMove(110, 100);  // dragged right by 20
    sceneControls();
    EXPECT_EQ(spinY(), 1);
}

TEST_F(SceneTest, EscapeEndsOnlyWhenReleased) {
    setUpScene();
    for (int frame = 0; frame < 5; ++frame) {
        recordKeyPress(vk::Escape);  // held: auto-repeat presses
        EXPECT_EQ(sceneControls(), 1);
    }
    recordKeyRelease(vk::Escape);
    EXPECT_EQ(sceneControls(), 0);
    EXPECT_EQ(peek(inputState.keyUp[keyEntry::Escape]), 1);  // not cleared on the way out
}

TEST_F(SceneTest, QualityCheckSwitchesToHalfResolutionOnlyEarly) {
    fpsRingFull = 1;
    for (int frame = 1; frame <= 200; ++frame) {
        averageFps = frame == 150 ? 19 : 25;
        qualityCheck();
        EXPECT_EQ(smallFrameWanted, frame >= 150 ? 1 : 0) << "frame " << frame;
    }
    smallFrameWanted = 0;
    averageFps = 5;
    qualityCheck();  // frame 201
    EXPECT_EQ(smallFrameWanted, 0);
    EXPECT_EQ(qualityFrames, 200);

    resetScene();
    fpsRingFull = 0;  // no average yet: nothing is decided
    averageFps = 0;
    qualityCheck();
    EXPECT_EQ(smallFrameWanted, 0);
}

TEST_F(SceneTest, Frame60FromAFixedSeedMatchesItsReference) {
    setUpScene(320, 240, 1);
    installOverlays();
    for (int frame = 1; frame <= 60; ++frame) ASSERT_EQ(sceneFrame(), 1);
    EXPECT_TRUE(test::matchesReference("scene_frame60", test::viewPicture()));
    // The frame reached the window too.
    EXPECT_EQ(headless::windowPixels()[0] & 0xFFFFFFu, test::viewPicture().pixels[0]);
    removeOverlays();
}

TEST_F(SceneTest, HalfResolutionFramesStillCoverTheScreen) {
    setUpScene(321, 241, 1);
    smallFrameWanted = 1;
    for (int frame = 1; frame <= 3; ++frame) ASSERT_EQ(sceneFrame(), 1);
    EXPECT_EQ(smallFrameReady, 1);  // drawing at half size, doubled into the surface
    EXPECT_EQ(frameWidth, 321);      // the full frame's values are back after each frame
    const auto window = headless::windowPixels();
    int background = 0;
    for (int y = 0; y < 241; ++y) background += (window[static_cast<std::size_t>(y) * 321 + 320] & 0xFFFFFFu) == 0xA08CF0u;
    EXPECT_GT(background, 100);  // the last column of the odd-sized frame is drawn, not left black
}

}  // namespace lw
