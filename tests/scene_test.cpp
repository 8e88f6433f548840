#include "scene/scene.h"

#include <cmath>

#include "reference_picture.h"
#include "scene_on_worker.h"
#include "test_support.h"

namespace lw {

class SceneTest : public test::HostTest {
protected:
    void TearDown() override {
        releaseSpriteTables();
        HostTest::TearDown();
    }
    // The program's configuration on a small screen, and the scene set up from a fixed seed.
    static void setUpScene(int width = 320, int height = 240, std::uint32_t seed = 7) {
        test::configureScene({0, width, height, seed});
        sceneSetUp();
    }
    static double cameraZ() { return cameraSlots[1]->position.z; }
    static int spinY() { return cameraSlots[1]->spinCounts[1]; }
};

TEST_F(SceneTest, SetUpBuildsTheRingOfSpringsAndTheTurningCamera) {
    setUpScene();
    const ParticleSystem& system = *systemSlots[0];
    ASSERT_EQ(system.particleCount, 8500u);
    ASSERT_EQ(system.paramSetCount, 3u);
    EXPECT_EQ(system.paramSets[0], (ForceParams{4, 8, 250, 700000, 700000}));
    EXPECT_EQ(system.paramSets[1], (ForceParams{20, 0, 0, 70000, 70000}));
    EXPECT_EQ(system.paramSets[2], (ForceParams{300, 0, 0, 210000, 210000}));
    EXPECT_EQ(system.externalForce, &centralAttraction);
    // Every particle took particle 0's physics but kept its own place and texture.
    for (std::uint32_t i = 0; i < system.particleCount; i += 997) {
        const Particle& p = system.particles[i];
        EXPECT_EQ(p.timeScale, 2.5e-6);
        EXPECT_EQ(p.damping, 0.35);
        EXPECT_EQ(p.forceScale, 0.5);
        EXPECT_EQ(p.style, textureStyleFirst + static_cast<int>(i % 33));
        EXPECT_LE(std::abs(p.position.x), 300.0);
    }
    const Camera& camera = *cameraSlots[1];
    EXPECT_EQ(spinY(), 1);
    EXPECT_DOUBLE_EQ(camera.spinAngle, M_PI / 750);
    EXPECT_TRUE(headless::timerActive(1000));

    // The pull to the centre: (-x, -y, -z) times k.
    scene.attractionStrength = 2.0;
    selectParticle(5);
    EXPECT_EQ(centralAttraction(), currentParticle->position * -2.0);
}

TEST_F(SceneTest, ZoomPauseAndSteering) {
    setUpScene();
    for (int frame = 0; frame < 60; ++frame) {
        recordKeyPress(vk::Up);
        ASSERT_EQ(sceneControls(), 1);
    }
    EXPECT_EQ(cameraZ(), -352.5) << "the zoom stops past its limit";
    recordWheel(0);
    sceneControls();
    recordWheel(static_cast<int>(0xFF880000u));  // backwards: away
    sceneControls();
    EXPECT_EQ(cameraZ(), -345.0);

    recordButtonPress(MouseButton::Left);  // a press alone does nothing
    sceneControls();
    EXPECT_EQ(spinY(), 1);
    recordButtonRelease(MouseButton::Left);
    sceneControls();
    EXPECT_EQ(spinY(), 0);
    EXPECT_EQ(scene.savedSpin, 1);
    recordKeyRelease(vk::Space);
    sceneControls();
    EXPECT_EQ(spinY(), 1) << "resumed in the same direction";
    recordButtonRelease(MouseButton::Right);
    recordKeyPress(vk::Left);  // Left while paused turns the other way and forgets the pause
    sceneControls();
    EXPECT_EQ(spinY(), -1);
    EXPECT_EQ(scene.savedSpin, 0);

    recordMouseMove(100, 100);
    clearInput();
    recordMouseMove(103, 100);  // dragged right by 3
    sceneControls();
    EXPECT_EQ(spinY(), 1);
    recordMouseMove(100, 100);  // and back left by 3
    sceneControls();
    EXPECT_EQ(spinY(), -1);
    recordMouseMove(102, 100);  // by 2: too small to steer
    sceneControls();
    EXPECT_EQ(spinY(), -1);

    recordKeyPress(vk::Escape);  // held, auto-repeat presses go on
    EXPECT_EQ(sceneControls(), 1);
    recordKeyRelease(vk::Escape);
    EXPECT_EQ(sceneControls(), 0);
}

TEST_F(SceneTest, QualityCheckSwitchesToHalfResolutionOnlyEarly) {
    frameRate.averageFps = 5;
    qualityCheck();
    EXPECT_EQ(smallFrameWanted, 0) << "no average yet: nothing is decided";
    frameRate.fpsRingFull = 1;
    for (int frame = 2; frame <= 200; ++frame) {
        frameRate.averageFps = frame == 150 ? 19 : 20;
        qualityCheck();
        ASSERT_EQ(smallFrameWanted, frame >= 150 ? 1 : 0) << "frame " << frame;
    }
    smallFrameWanted = 0;
    frameRate.averageFps = 5;
    qualityCheck();  // frame 201
    EXPECT_EQ(smallFrameWanted, 0);
}

TEST_F(SceneTest, Frame60FromAFixedSeedMatchesItsReference) {
    setUpScene(320, 240, 1);
    installOverlays();
    for (int frame = 1; frame <= 60; ++frame) ASSERT_EQ(sceneFrame(), 1);
    EXPECT_TRUE(test::matchesReference("scene_frame60", test::viewPicture()));
    EXPECT_EQ(headless::windowPixels()[0] & 0xFFFFFFu, test::viewPicture().pixels[0]) << "the frame reached the window";
    removeOverlays();
}

TEST_F(SceneTest, HalfResolutionFramesStillCoverTheScreen) {
    setUpScene(321, 241, 1);
    smallFrameWanted = 1;
    for (int frame = 1; frame <= 3; ++frame) ASSERT_EQ(sceneFrame(), 1);
    EXPECT_EQ(smallFrameReady, 1);
    EXPECT_EQ(frameWidth, 321) << "the full frame's values are back after each frame";
    EXPECT_EQ(fullScreen, 1) << "the switch leaves the window's style alone";
    const auto window = headless::windowPixels();
    int background = 0;
    for (int y = 0; y < 241; ++y) background += (window[static_cast<std::size_t>(y) * 321 + 320] & 0xFFFFFFu) == 0xA08CF0u;
    EXPECT_GT(background, 100) << "the last column of the odd-sized frame is drawn, not left black";
}

}  // namespace lw
