// The camera hierarchy at work: mapping points up the chain of parents to world space, aiming
// cameras, the per-frame pass over all cameras, and the view stage through which the particle
// cache maps every particle of a system.
#pragma once

#include <cstdint>

#include "view/camera.h"
#include "view/vec3.h"

namespace lw {

// Set: cameraToWorld uses the composed world transform in one step. Clear: it walks the parent
// chain through local transforms. Whoever clears it puts the old value back.
extern std::int32_t useWorldMatrices;

// A copy of one camera's world transform, taken by prepareView.
struct ViewStage {
    Orientation M = kIdentityAxes;
    Vec3 T{};
    Vec3 P{};
    std::int32_t hasPivot = 0;
};
extern ViewStage viewStage;

// Once per frame, before the systems are stepped: aims, turns and composes every camera. Leaves
// the oldest camera selected.
void updateCameras();

// From the selected camera's frame to world space; the selection is the same afterwards.
Vec3 cameraToWorld(const Vec3& p);
Vec3 cameraDirToWorld(const Vec3& d);

// Writes worldAxes, worldPosition and rotated of the selected camera from its parent chain.
void composeWorld();
// Aims the selected camera at a point given in its parent frame; straight up or down gives a
// degenerate frame.
void lookAt(const Vec3& point);
// Aims the selected camera at the world origin of camera `slot`.
void lookAtCamera(int slot);

// Selects camera `slot` (it stays selected) and copies its world transform into the view stage.
void prepareView(int slot);
// Maps a particle position through the view stage.
Vec3 viewTransform(const Vec3& p);

// Puts the chain's globals back to their start values (tests).
void resetCameraChain();

}  // namespace lw
