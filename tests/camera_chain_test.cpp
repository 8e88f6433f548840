#include "view/camera_chain.h"

#include "test_support.h"

namespace lw {

using CameraChainTest = test::HostTest;

TEST_F(CameraChainTest, ViewStageOfAnUnrotatedCameraOnlyShifts) {
    cameraSelect(1);
    setPosition(0, 0, 100);
    updateCameras();
    prepareView(1);
    const Vec3 q = viewTransform({3, -4, 5});
    EXPECT_EQ(q.x, 3.0);
    EXPECT_EQ(q.y, -4.0);
    EXPECT_EQ(q.z, 105.0);
}

}  // namespace lw
