#include "view/camera.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "test_support.h"
#include "vec_near.h"

namespace lw {

using CameraTest = test::HostTest;
using test::near;

TEST_F(CameraTest, SelectingCreatesOnceAndListsNewestFirst) {
    cameraSelect(1);
    Camera* first = currentCamera;
    ASSERT_NE(first, nullptr);
    for (int slot : {7, 0, 7, 1}) cameraSelect(slot);  // 0 is usable, though it means none in references
    EXPECT_EQ(currentCamera, first);
    std::vector<int> listed;
    for (const CameraNode* node = cameraList; node != nullptr; node = node->next) listed.push_back(node->slot);
    EXPECT_EQ(listed, (std::vector<int>{0, 7, 1}));
}

TEST_F(CameraTest, BadSlotsMissingSelectionAndFailedAllocationAreFatal) {
    for (int slot : {-1, 1024, 1 << 30}) {
        EXPECT_TRUE(test::endsInFatalError([slot] { cameraSelect(slot); }, L"CAMERA: slot out of range")) << slot;
    }
    EXPECT_TRUE(test::endsInFatalError([] { applyRotations(); }, L"CAMERA: no camera selected"));
    failAllocationAfter(2);  // the camera itself succeeds, its list node fails
    EXPECT_TRUE(test::endsInFatalError([] { cameraSelect(4); }, kAllocationFailedText));
    EXPECT_EQ(cameraList, nullptr);
}

TEST_F(CameraTest, SpinAboutYBuildsTheTurnAndOneFrameAppliesIt) {
    const double c = std::cos(0.3);
    const double s = std::sin(0.3);
    cameraSelect(1);
    setStepCounts(1, 0, -1);
    setSpinAngle(0.3);
    setSpin(0, 1, 0);
    Camera& cam = *currentCamera;
    EXPECT_TRUE(near(cam.spinMatrix[0], {c, 0, -s}));
    EXPECT_TRUE(near(cam.spinMatrix[1], {0, 1, 0}));
    EXPECT_TRUE(near(cam.spinMatrix[2], {s, 0, c}));
    EXPECT_TRUE(near(cam.axes[0], {1, 0, 0}, 0));  // building the spin keeps axes and steps
    EXPECT_EQ(cam.stepCounts, (std::array<std::int32_t, 3>{1, 0, -1}));
    EXPECT_DOUBLE_EQ(cam.stepSin, std::sin(std::numbers::pi / 32));

    setStepCounts(0, 0, 0);
    applyRotations();
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(near(cam.axes[k], cam.spinMatrix[k])) << k;
    EXPECT_EQ(cam.rotated, 1);

    setSpinAngle(std::numbers::pi / 2);  // rebuilt from the kept counts
    EXPECT_TRUE(near(cam.spinMatrix[0], {0, 0, -1}));
}

TEST_F(CameraTest, ZeroSpinStopsTheTurnAndKeepsTheMatrix) {
    cameraSelect(1);
    setSpin(0, 0, 1);
    applyRotations();
    Camera& cam = *currentCamera;
    const Orientation matrix = cam.spinMatrix;
    const Orientation turned = cam.axes;
    setSpin(0, 0, 0);
    applyRotations();
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(near(cam.spinMatrix[k], matrix[k], 0));
        EXPECT_TRUE(near(cam.axes[k], turned[k], 0));
    }
}

TEST_F(CameraTest, QuarterTurnSpinKeepsTurningThroughTheIdentity) {
    cameraSelect(1);
    setSpinAngle(std::numbers::pi / 2);
    setSpin(0, 1, 0);
    for (int frame = 0; frame < 4; ++frame) applyRotations();
    EXPECT_EQ(currentCamera->rotated, 0);  // a full turn lands exactly on the identity
    applyRotations();
    EXPECT_TRUE(near(currentCamera->axes[0], {0, 0, -1}));
}

TEST_F(CameraTest, StepsTurnAboutXThenYThenZ) {
    cameraSelect(1);
    setStepAngle(std::numbers::pi / 2);
    setStepCounts(1, 1, 0);  // the y step reads R2 and R0 as the x step left them
    applyRotations();
    const Orientation& r = currentCamera->axes;
    EXPECT_TRUE(near(r[0], {0, 1, 0}));
    EXPECT_TRUE(near(r[1], {0, 0, 1}));
    EXPECT_TRUE(near(r[2], {1, 0, 0}));

    currentCamera->axes = kIdentityAxes;
    setStepAngle(0.25);
    setStepCounts(0, 0, 2);  // scales the sine only: the rows grow
    applyRotations();
    EXPECT_NEAR(length(r[0]), std::hypot(std::cos(0.25), 2 * std::sin(0.25)), 1e-15);
}

TEST_F(CameraTest, RotatedTestsOnlyTheFirstTwoDiagonalEntries) {
    cameraSelect(1);
    setAxes(1, 0, 0, 0, 1, 0, 0, 0, -1);  // a mirror in z still counts as unturned
    applyRotations();
    EXPECT_EQ(currentCamera->rotated, 0);
    presetAxes(4);
    EXPECT_EQ(currentCamera->rotated, 0);  // setting axes leaves the flag to the next frame
    for (int kind : {6, 8, -1}) presetAxes(kind);  // kinds that change nothing
    applyRotations();
    EXPECT_EQ(currentCamera->rotated, 1);
    EXPECT_TRUE(near(currentCamera->axes[2], {0, -1, 0}, 0));
}

TEST_F(CameraTest, RandomFrameIsOrthonormalAndDrawnZFirst) {
    seedRandomWith(12345);
    std::array<double, 3> draws{};
    for (double& d : draws) d = 1.0 - 2.0 * rand15() / 32767.0;
    seedRandomWith(12345);
    cameraSelect(1);
    presetAxes(7);
    const Orientation& r = currentCamera->axes;
    EXPECT_TRUE(near(r[0], normalized(Vec3{draws[2], draws[1], draws[0]})));
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(length(r[k]), 1.0, 1e-12);
    EXPECT_NEAR(dot(r[0], r[1]), 0.0, 1e-12);
    EXPECT_TRUE(near(cross(r[0], r[1]), r[2]));  // right-handed
}

TEST_F(CameraTest, PivotIsAddedBeforeTheTurnAndThePositionAfter) {
    cameraSelect(1);
    setPivot(0, 0, 2);
    EXPECT_EQ(currentCamera->hasPivot, 1);
    presetAxes(0);  // a quarter turn about y: local z points along parent x
    applyRotations();
    setPosition(5, 0, 0);
    EXPECT_TRUE(near(localToParent({1, 0, 0}), {7, 0, -1}, 0));
    EXPECT_TRUE(near(localDirToParent({1, 0, 0}), {0, 0, -1}, 0));  // directions: no pivot, no position
    setAxes(0, 2, 0, -3, 0, 0, 0, 0, 4);                              // rows are normalised on the way in
    EXPECT_TRUE(near(localDirToParent({1, 1, 0}), {-1, 1, 0}, 0));
    setPivot(0, 0, 0);
    EXPECT_EQ(currentCamera->hasPivot, 0);
}

TEST_F(CameraTest, MappingsUseTheRowsAtOnceNotOnlyAfterTheNextFrame) {
    cameraSelect(1);
    presetAxes(4);
    EXPECT_TRUE(near(localToParent({0, 1, 0}), {0, 0, 1}, 0));
    Camera& cam = *currentCamera;
    cam.worldAxes = {Vec3{0, 1, 0}, Vec3{-1, 0, 0}, Vec3{0, 0, 1}};
    cam.worldPosition = {0, 0, 10};
    setPivot(1, 0, 0);
    EXPECT_TRUE(near(localToWorld({1, 0, 0}), {0, 2, 10}, 0));
    EXPECT_TRUE(near(localDirToWorld({1, 0, 0}), {0, 1, 0}, 0));
}

}  // namespace lw
