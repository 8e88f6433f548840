#include "view/camera_chain.h"

#include "host/process.h"

namespace lw {

std::int32_t useWorldMatrices = 1;
ViewStage viewStage{};

namespace {

// Keeps useWorldMatrices cleared for its lifetime and puts the old value back afterwards.
class LocalChainWalk {
public:
    LocalChainWalk() : kept_(useWorldMatrices) { useWorldMatrices = 0; }
    ~LocalChainWalk() { useWorldMatrices = kept_; }
    LocalChainWalk(const LocalChainWalk&) = delete;
    LocalChainWalk& operator=(const LocalChainWalk&) = delete;

private:
    std::int32_t kept_;
};

// Walks from the selected camera up through its parents, mapping v one frame at a time. A chain
// longer than the table can only be a loop of parents, which would never end.
template <typename Step>
Vec3 walkChain(Vec3 v, Step step) {
    const int start = currentCameraIndex;
    v = step(v);
    int hops = 0;
    for (int parent = selectedCamera().parentCamera; parent != 0; parent = selectedCamera().parentCamera) {
        if (++hops > kCameraSlotCount) fatalError(L"CAMERA: parent chain forms a loop");
        cameraSelect(parent);
        v = step(v);
    }
    cameraSelect(start);
    return v;
}

void forEachListedCamera(void (*work)(Camera&)) {
    for (const CameraNode* node = cameraList; node != nullptr; node = node->next) {
        cameraSelect(node->slot);
        work(selectedCamera());
    }
}

void aimCamera(Camera& cam) {
    if (cam.lookAtMode == 0) return;
    if (cam.targetCamera != 0) {
        lookAtCamera(cam.targetCamera);
    } else {
        lookAt(cam.targetPoint);
    }
}

}  // namespace

void updateCameras() {
    forEachListedCamera(aimCamera);
    forEachListedCamera([](Camera&) { applyRotations(); });
    forEachListedCamera([](Camera&) { composeWorld(); });
}

Vec3 cameraToWorld(const Vec3& p) {
    if (useWorldMatrices != 0) return localToWorld(p);
    return walkChain(p, [](const Vec3& q) { return localToParent(q); });
}

Vec3 cameraDirToWorld(const Vec3& d) {
    if (useWorldMatrices != 0) return localDirToWorld(d);
    return walkChain(d, [](const Vec3& q) { return localDirToParent(q); });
}

void composeWorld() {
    const LocalChainWalk walk;
    Camera& cam = selectedCamera();
    const int self = currentCameraIndex;
    if (cam.parentCamera != 0) {
        const Orientation rows = cam.axes;
        const Vec3 origin = cam.position;
        cameraSelect(cam.parentCamera);
        const Orientation world{cameraDirToWorld(rows[0]), cameraDirToWorld(rows[1]), cameraDirToWorld(rows[2])};
        const Vec3 worldOrigin = cameraToWorld(origin);
        cameraSelect(self);
        cam.worldAxes = world;
        cam.worldPosition = worldOrigin;
    } else {
        cam.worldAxes = cam.axes;
        cam.worldPosition = cam.position;
    }
    cam.rotated = looksUnturned(cam.worldAxes) ? 0 : 1;
}

void lookAt(const Vec3& point) {
    Camera& cam = selectedCamera();
    const Vec3 r2 = normalized(point - cam.position);
    const Vec3 r0 = normalized(Vec3{r2.z, 0.0, -r2.x});
    cam.axes = {r0, cross(r2, r0), r2};
    cam.worldAxes = cam.axes;
    cam.rotated = 1;
}

void lookAtCamera(int slot) {
    Vec3 target;
    {
        const LocalChainWalk walk;
        const int kept = currentCameraIndex;
        cameraSelect(slot);
        target = cameraToWorld(Vec3{});
        cameraSelect(kept);
    }
    lookAt(target);
}

void prepareView(int slot) {
    cameraSelect(slot);
    const Camera& cam = selectedCamera();
    viewStage.M = cam.worldAxes;
    viewStage.T = cam.worldPosition;
    viewStage.P = cam.pivot;
    viewStage.hasPivot = cam.hasPivot;
}

Vec3 viewTransform(const Vec3& p) {
    Vec3 q = p;
    if (viewStage.hasPivot != 0) q = q + viewStage.P;
    return rowTransform(q, viewStage.M) + viewStage.T;
}

void resetCameraChain() {
    useWorldMatrices = 1;
    viewStage = ViewStage{};
}

}  // namespace lw
