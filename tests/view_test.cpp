#include <cmath>
#include <numbers>
#include <vector>

#include "test_support.h"

namespace lw {

using ViewTest = test::HostTest;

namespace {

::testing::AssertionResult near(const Vec3& a, const Vec3& b, double tolerance = 1e-12) {
    if (length(a - b) <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") is not (" << b.x << ", "
                                         << b.y << ", " << b.z << ")";
}

// Parent 2 turned a quarter turn about y (local z along world x) at (10, 0, 0); child 3 at
// local (1, 0, 0) inside it, so at world (10, 0, -1).
void buildParentAndChild() {
    cameraSelect(2);
    presetAxes(0);
    applyRotations();
    setPosition(10, 0, 0);
    cameraSelect(3);
    setPosition(1, 0, 0);
    currentCamera->parentCamera = 2;
}

}  // namespace

TEST_F(ViewTest, VectorOperations) {
    Vec3 tiny{1e-16, 0, 0};
    normalizeInPlace(tiny);
    EXPECT_EQ(tiny.x, 1e-16) << "too short to have a direction: stays";
    EXPECT_EQ(cross({0, 0, 1}, {1, 0, 0}), (Vec3{0, 1, 0}));
    const Vec3 up{0, 1, 0};
    EXPECT_EQ(reflect({1, -2, 0}, up), (Vec3{1, 2, 0}));
    EXPECT_EQ(reflect({0, 2, 0}, up), (Vec3{0, 2, 0})) << "moving out of the plane: unchanged";
    EXPECT_EQ(reflect({0, -1e-8, 0}, up), (Vec3{0, -1e-8, 0})) << "e = -2e-8 is above the threshold";
}

TEST_F(ViewTest, SlotsSelectionAndFailures) {
    cameraSelect(1);
    Camera* first = currentCamera;
    for (int slot : {7, 0, 7, 1023, 1}) cameraSelect(slot);
    EXPECT_EQ(currentCamera, first);
    std::vector<int> listed;
    for (const CameraNode* node = cameraList; node != nullptr; node = node->next) listed.push_back(node->slot);
    EXPECT_EQ(listed, (std::vector<int>{1023, 0, 7, 1})) << "newest first";
    EXPECT_TRUE(test::endsInFatalError([] { cameraSelect(1024); }, L"CAMERA: slot out of range"));
    resetCameras();
    EXPECT_TRUE(test::endsInFatalError([] { applyRotations(); }, L"CAMERA: no camera selected"));
    failAllocationAfter(2);  // the camera itself succeeds, its list node fails
    EXPECT_TRUE(test::endsInFatalError([] { cameraSelect(4); }, kAllocationFailedText));
    EXPECT_EQ(cameraList, nullptr);
}

TEST_F(ViewTest, SpinsAndStepsTurnTheAxes) {
    const double c = std::cos(0.3);
    const double s = std::sin(0.3);
    cameraSelect(1);
    setSpinAngle(0.3);
    setSpin(0, 1, 0);
    Camera& cam = *currentCamera;
    EXPECT_TRUE(near(cam.spinMatrix[0], {c, 0, -s}));
    EXPECT_TRUE(near(cam.spinMatrix[2], {s, 0, c}));
    EXPECT_EQ(cam.axes, kIdentityAxes) << "building the spin leaves the axes";
    applyRotations();
    EXPECT_EQ(cam.axes, cam.spinMatrix);
    EXPECT_EQ(cam.rotated, 1);
    setSpin(0, 0, 0);  // stops the turn, keeps the matrix
    applyRotations();
    EXPECT_TRUE(near(cam.axes[0], {c, 0, -s}));

    // A quarter-turn spin passes exactly through the identity and keeps turning.
    setSpinAngle(std::numbers::pi / 2);
    setSpin(0, 1, 0);
    cam.axes = kIdentityAxes;
    for (int frame = 0; frame < 4; ++frame) applyRotations();
    EXPECT_EQ(cam.rotated, 0);
    applyRotations();
    EXPECT_TRUE(near(cam.axes[0], {0, 0, -1}));

    // Steps turn about x, then y, then z, each reading the rows the one before left.
    setSpin(0, 0, 0);
    cam.axes = kIdentityAxes;
    setStepAngle(std::numbers::pi / 2);
    setStepCounts(1, 1, 0);
    applyRotations();
    EXPECT_TRUE(near(cam.axes[0], {0, 1, 0}));
    EXPECT_TRUE(near(cam.axes[1], {0, 0, 1}));
    EXPECT_TRUE(near(cam.axes[2], {1, 0, 0}));
}

TEST_F(ViewTest, PresetFramesPivotAndPosition) {
    cameraSelect(1);
    const std::vector<Orientation> presets = {
        {Vec3{0, 0, -1}, Vec3{0, 1, 0}, Vec3{1, 0, 0}}, {Vec3{1, 0, 0}, Vec3{0, 0, -1}, Vec3{0, 1, 0}},
        kIdentityAxes, {Vec3{0, 0, 1}, Vec3{0, 1, 0}, Vec3{-1, 0, 0}},
        {Vec3{1, 0, 0}, Vec3{0, 0, 1}, Vec3{0, -1, 0}}, {Vec3{1, 0, 0}, Vec3{0, -1, 0}, Vec3{0, 0, -1}}};
    for (int kind = 0; kind < 6; ++kind) {
        presetAxes(kind);
        EXPECT_EQ(currentCamera->axes, presets[kind]) << "kind " << kind;
    }
    presetAxes(6);  // changes nothing
    EXPECT_EQ(currentCamera->axes, presets[5]);

    presetAxes(0);  // local z points along parent x
    setPivot(0, 0, 2);
    setPosition(5, 0, 0);
    EXPECT_TRUE(near(localToParent({1, 0, 0}), {7, 0, -1})) << "pivot before the turn, position after";
    EXPECT_TRUE(near(localDirToParent({1, 0, 0}), {0, 0, -1})) << "directions: no pivot, no position";
    setAxes(0, 2, 0, -3, 0, 0, 0, 0, 4);  // rows are normalised on the way in
    EXPECT_TRUE(near(localDirToParent({1, 1, 0}), {-1, 1, 0}));
}

TEST_F(ViewTest, ViewStageAddsThePivotTurnsAndShifts) {
    cameraSelect(1);
    presetAxes(0);
    setPivot(0, 0, 1);
    setPosition(0, 0, 100);
    updateCameras();
    cameraSelect(9);
    prepareView(1);
    EXPECT_EQ(currentCameraIndex, 1) << "the stage's camera stays selected";
    setPosition(0, 0, 0);  // the stage is a copy until the next prepareView
    EXPECT_TRUE(near(viewTransform({2, 0, 0}), {1, 0, 98}));
    prepareView(6);  // an empty slot: a new, unturned camera
    EXPECT_TRUE(near(viewTransform({1, 2, 3}), {1, 2, 3}));
}

TEST_F(ViewTest, WorldFramesOfChainsAgreeWithTheChainWalk) {
    buildParentAndChild();
    composeWorld();
    const Camera& child = *cameraSlots[3];
    EXPECT_TRUE(near(child.worldPosition, {10, 0, -1}));
    EXPECT_TRUE(near(child.worldAxes[0], {0, 0, -1}));

    cameraSelect(1);
    presetAxes(7);
    setPosition(3, -2, 8);
    setPivot(0.5, 0, 0);
    cameraSelect(2);
    presetAxes(7);
    currentCamera->parentCamera = 1;
    cameraSelect(3);
    setStepCounts(0, 1, 1);
    setPivot(0, 1, 0);
    updateCameras();
    cameraSelect(3);
    const Vec3 p{1.5, -0.25, 4};
    const Vec3 viaMatrices = cameraToWorld(p);
    const Vec3 dirViaMatrices = cameraDirToWorld(p);
    useWorldMatrices = 0;
    EXPECT_TRUE(near(cameraToWorld(p), viaMatrices));
    EXPECT_TRUE(near(cameraDirToWorld(p), dirViaMatrices));
    EXPECT_EQ(currentCameraIndex, 3);

    // Deep chains are fine; a loop of parents is not.
    for (int slot = 10; slot < 20; ++slot) {
        cameraSelect(slot);
        currentCamera->parentCamera = slot + 1;
    }
    cameraSelect(10);
    EXPECT_TRUE(near(cameraToWorld({}), {}));
    cameraSlots[20]->parentCamera = 10;
    useWorldMatrices = 1;
    EXPECT_TRUE(test::endsInFatalError([] { composeWorld(); }, L"CAMERA: parent chain forms a loop"));
    EXPECT_EQ(useWorldMatrices, 1) << "put back even on the way out";
}

TEST_F(ViewTest, FramePassAimsThenTurnsThenComposes) {
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
    const Vec3 r2 = normalized(Vec3{10, 0, -1});
    const Vec3 r0 = normalized(Vec3{r2.z, 0, -r2.x});
    EXPECT_TRUE(near(aimer.worldAxes[0], std::cos(0.1) * r0 + std::sin(0.1) * cross(r2, r0)));
    EXPECT_TRUE(near(cameraSlots[1]->worldAxes[0], {-1, 0, 0}));
    EXPECT_TRUE(near(cameraSlots[1]->worldAxes[2], {0, 0, -1}));
}

}  // namespace lw
