#include "view/camera_chain.h"

#include <cmath>

#include "test_support.h"
#include "vec_near.h"

namespace lw {

namespace {

// Parent 2 turned a quarter turn about y (local z along world x) at (10, 0, 0); child 3 at
// local (1, 0, 0) inside it, so at world (10, 0, -1).
void buildParentAndChild() {
    cameraSelect(2);
    presetAxes(0);
    applyRotations();  // settles `rotated`, as the frame pass would
    setPosition(10, 0, 0);
    cameraSelect(3);
    setPosition(1, 0, 0);
    currentCamera->parentCamera = 2;
}

}  // namespace

using CameraChainTest = test::HostTest;
using test::near;

TEST_F(CameraChainTest, ViewStageAddsThePivotTurnsAndShifts) {
    cameraSelect(1);
    setPosition(0, 0, 100);
    updateCameras();
    prepareView(1);
    EXPECT_TRUE(near(viewTransform({3, -4, 5}), {3, -4, 105}, 0));

    presetAxes(0);
    setPivot(0, 0, 1);
    updateCameras();
    cameraSelect(9);
    prepareView(1);
    EXPECT_EQ(currentCameraIndex, 1);  // the stage's camera stays selected
    setPosition(0, 0, 0);              // the stage is a copy until the next prepareView
    EXPECT_TRUE(near(viewTransform({2, 0, 0}), {1, 0, 98}, 0));

    prepareView(6);  // an empty slot: a new, unturned camera
    EXPECT_TRUE(near(viewTransform({1, 2, 3}), {1, 2, 3}, 0));
    EXPECT_TRUE(test::endsInFatalError([] { prepareView(4096); }, L"CAMERA: slot out of range"));
}

TEST_F(CameraChainTest, CameraWithoutParentComposesToItsOwnFrame) {
    cameraSelect(1);
    presetAxes(1);
    setPosition(1, 2, 3);
    setPivot(7, 7, 7);
    composeWorld();
    const Camera& cam = *currentCamera;
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(near(cam.worldAxes[k], cam.axes[k], 0));
    EXPECT_TRUE(near(cam.worldPosition, {1, 2, 3}, 0));  // the pivot is not part of the origin
    EXPECT_EQ(cam.rotated, 1);
}

TEST_F(CameraChainTest, ChildOfATurnedParentLandsInItsFrame) {
    buildParentAndChild();
    composeWorld();
    const Camera& child = *cameraSlots[3];
    EXPECT_EQ(currentCameraIndex, 3);
    EXPECT_EQ(useWorldMatrices, 1);
    EXPECT_TRUE(near(child.worldPosition, {10, 0, -1}, 0));
    EXPECT_TRUE(near(child.worldAxes[0], {0, 0, -1}, 0));
    EXPECT_TRUE(near(child.worldAxes[2], {1, 0, 0}, 0));
}

TEST_F(CameraChainTest, WorldMatricesAgreeWithTheChainWalk) {
    cameraSelect(1);
    presetAxes(7);
    setPosition(3, -2, 8);
    setPivot(0.5, 0, 0);
    cameraSelect(2);
    presetAxes(7);
    setPosition(-1, 4, 2);
    currentCamera->parentCamera = 1;
    cameraSelect(3);
    setStepCounts(0, 1, 1);
    setPivot(0, 1, 0);
    currentCamera->parentCamera = 2;
    updateCameras();

    cameraSelect(3);
    const Vec3 p{1.5, -0.25, 4};
    const Vec3 viaMatrices = cameraToWorld(p);
    const Vec3 dirViaMatrices = cameraDirToWorld(p);
    useWorldMatrices = 0;
    EXPECT_TRUE(near(cameraToWorld(p), viaMatrices));
    EXPECT_TRUE(near(cameraDirToWorld(p), dirViaMatrices));
    EXPECT_EQ(currentCameraIndex, 3);
}

TEST_F(CameraChainTest, CompositionOrderDoesNotMatter) {
    // The child is created first, so the pass composes its parent before it. The parent's turn
    // cancels its grandparent's: its world frame is the identity while its own is not.
    cameraSelect(3);
    setPosition(0, 0, 1);
    currentCamera->parentCamera = 2;
    cameraSelect(2);
    presetAxes(3);
    currentCamera->parentCamera = 1;
    cameraSelect(1);
    presetAxes(0);
    setPosition(0, 0, 100);
    updateCameras();
    EXPECT_EQ(cameraSlots[2]->rotated, 0);
    EXPECT_TRUE(near(cameraSlots[3]->worldPosition, {0, 0, 101}));
    EXPECT_TRUE(near(cameraSlots[3]->worldAxes[0], {1, 0, 0}));
}

TEST_F(CameraChainTest, ChainWalkCreatesMissingParentsAndRejectsBadOnes) {
    cameraSelect(1);
    currentCamera->parentCamera = 8;
    useWorldMatrices = 0;
    setPosition(1, 0, 0);
    EXPECT_TRUE(near(cameraToWorld({}), {1, 0, 0}, 0));
    EXPECT_NE(cameraSlots[8], nullptr);
    EXPECT_EQ(currentCameraIndex, 1);
    cameraSlots[8]->parentCamera = 2000;
    EXPECT_TRUE(test::endsInFatalError([] { cameraToWorld({}); }, L"CAMERA: slot out of range"));

    cameraSlots[8]->parentCamera = 1;  // a loop would walk for ever
    useWorldMatrices = 1;
    EXPECT_TRUE(test::endsInFatalError([] { composeWorld(); }, L"CAMERA: parent chain forms a loop"));
    EXPECT_EQ(useWorldMatrices, 1);  // put back even on the way out
}

TEST_F(CameraChainTest, LookAtBuildsAFrameAndDegeneratesAlongTheVertical) {
    cameraSelect(1);
    lookAt({10, 0, 0});
    Camera& cam = *currentCamera;
    EXPECT_TRUE(near(cam.axes[0], {0, 0, -1}, 0));
    EXPECT_TRUE(near(cam.axes[1], {0, 1, 0}, 0));
    EXPECT_TRUE(near(cam.worldAxes[2], {1, 0, 0}, 0));

    setPosition(1, 1, 1);
    lookAt({1, 50, 1});
    EXPECT_TRUE(near(cam.axes[0], {0, 0, 0}, 0));
    EXPECT_TRUE(near(cam.axes[1], {0, 0, 0}, 0));
    EXPECT_TRUE(near(cam.axes[2], {0, 1, 0}));
    lookAt({1, 1, 1});  // its own position: all rows zero
    EXPECT_TRUE(near(cam.axes[2], {0, 0, 0}, 0));
    updateCameras();
    prepareView(1);
    EXPECT_TRUE(near(viewTransform({5, 5, 5}), {1, 1, 1}, 0));
}

TEST_F(CameraChainTest, FramePassAimsThenTurnsThenComposes) {
    buildParentAndChild();
    cameraSelect(4);
    Camera& aimer = *currentCamera;
    aimer.lookAtMode = 1;
    aimer.targetCamera = 3;  // never composed yet: aiming must walk the chain
    setStepAngle(0.1);
    setStepCounts(0, 0, 1);
    cameraSelect(1);
    currentCamera->lookAtMode = 1;
    currentCamera->targetPoint = {0, 0, -5};
    updateCameras();

    EXPECT_EQ(currentCameraIndex, 2);  // the oldest listed camera
    EXPECT_EQ(useWorldMatrices, 1);
    const Vec3 r2 = normalized(Vec3{10, 0, -1});
    const Vec3 r0 = normalized(Vec3{r2.z, 0, -r2.x});
    EXPECT_TRUE(near(aimer.worldAxes[0], std::cos(0.1) * r0 + std::sin(0.1) * cross(r2, r0)));
    EXPECT_TRUE(near(cameraSlots[1]->worldAxes[2], {0, 0, -1}));
}

}  // namespace lw
