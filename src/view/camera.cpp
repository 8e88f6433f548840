#include "view/camera.h"

#include <cmath>
#include <new>

#include "host/memory.h"
#include "host/process.h"
#include "host/random.h"

namespace lw {

std::array<Camera*, kCameraSlotCount> cameraSlots{};
int currentCameraIndex = 1;
Camera* currentCamera = nullptr;
CameraNode* cameraList = nullptr;

namespace {

void storeAxes(Camera& cam, const Vec3& r0, const Vec3& r1, const Vec3& r2) {
    cam.axes = {normalized(r0), normalized(r1), normalized(r2)};
}

void storePivot(Camera& cam, const Vec3& pivot) {
    cam.pivot = pivot;
    cam.hasPivot = (pivot.x != 0.0 || pivot.y != 0.0 || pivot.z != 0.0) ? 1 : 0;
}

void storeStepAngle(Camera& cam, double angle) {
    cam.stepAngle = angle;
    cam.stepCos = std::cos(angle);
    cam.stepSin = std::sin(angle);
}

void storeSpinAngle(Camera& cam, double angle) {
    cam.spinAngle = angle;
    cam.spinCos = std::cos(angle);
    cam.spinSin = std::sin(angle);
}

// The spin: every axis row is carried through spinMatrix. Whether to skip it is decided by the
// spin matrix itself, not by `rotated`: a camera whose turn passes exactly through the identity
// (a quarter-turn spin does after four frames) must keep turning instead of stopping there.
void applySpin(Camera& cam) {
    if (looksUnturned(cam.spinMatrix)) return;
    for (Vec3& row : cam.axes) row = rowTransform(row, cam.spinMatrix);
}

// One step about a principal axis: rows u and v turn in their common plane by the step angle,
// the sine scaled by the count. Both read their values from before the step.
void stepTurn(Camera& cam, int count, Vec3& u, Vec3& v) {
    if (count == 0) return;
    const double c = cam.stepCos;
    const double s = count * cam.stepSin;
    const Vec3 oldU = u;
    u = c * u + s * v;
    v = c * v - s * oldU;
}

void rotateCamera(Camera& cam) {
    if (cam.spinCounts[0] != 0 || cam.spinCounts[1] != 0 || cam.spinCounts[2] != 0) applySpin(cam);
    Vec3& r0 = cam.axes[0];
    Vec3& r1 = cam.axes[1];
    Vec3& r2 = cam.axes[2];
    stepTurn(cam, cam.stepCounts[0], r1, r2);
    stepTurn(cam, cam.stepCounts[1], r2, r0);
    stepTurn(cam, cam.stepCounts[2], r0, r1);
    cam.rotated = looksUnturned(cam.axes) ? 0 : 1;
}

void buildSpin(Camera& cam, int a, int b, int c) {
    cam.spinCounts = {0, 0, 0};
    if (a != 0 || b != 0 || c != 0) {
        const Orientation keptAxes = cam.axes;
        const auto keptCounts = cam.stepCounts;
        const double keptCos = cam.stepCos;
        const double keptSin = cam.stepSin;
        cam.stepCounts = {a, b, c};
        cam.stepCos = cam.spinCos;
        cam.stepSin = cam.spinSin;
        cam.axes = kIdentityAxes;
        rotateCamera(cam);
        cam.spinMatrix = cam.axes;
        cam.axes = keptAxes;
        cam.stepCounts = keptCounts;
        cam.stepCos = keptCos;
        cam.stepSin = keptSin;
    }
    cam.spinCounts = {a, b, c};
}

void initCamera(Camera& cam) {
    cam.targetCamera = 0;
    cam.parentCamera = 0;
    cam.targetPoint = {};
    cam.lookAtMode = 0;
    cam.position = {};
    storePivot(cam, {});
    storeAxes(cam, kIdentityAxes[0], kIdentityAxes[1], kIdentityAxes[2]);
    cam.rotated = 0;
    cam.stepCounts = {0, 0, 0};
    storeStepAngle(cam, kDefaultCameraAngle);
    storeSpinAngle(cam, kDefaultCameraAngle);
    buildSpin(cam, 0, 0, 0);  // stops the spin; the last spin matrix stays
}

// A row of the random frame. Components are drawn z first: the draw order is part of what a
// seed reproduces.
Vec3 randomRow() {
    Vec3 r;
    r.z = 1.0 - 2.0 * rand15() / 32767.0;
    r.y = 1.0 - 2.0 * rand15() / 32767.0;
    r.x = 1.0 - 2.0 * rand15() / 32767.0;
    return r;
}

void randomAxes(Camera& cam) {
    Vec3 r0 = randomRow();
    const Vec3 r1 = randomRow();
    normalizeInPlace(r0);
    const Vec3 r2 = normalized(cross(r0, r1));
    cam.axes = {r0, normalized(cross(r2, r0)), r2};
}

// The mappings skip the rows when the rows themselves look unturned. `rotated` cannot decide
// this: it describes whichever of axes and worldAxes was tested last, and lags behind setAxes
// until the next frame pass.
Vec3 toFrame(const Camera& cam, const Vec3& p, const Orientation& rows, const Vec3& origin) {
    Vec3 q = p;
    if (cam.hasPivot != 0) q = q + cam.pivot;
    if (!looksUnturned(rows)) q = rowTransform(q, rows);
    return q + origin;
}

Vec3 dirToFrame(const Vec3& d, const Orientation& rows) { return looksUnturned(rows) ? d : rowTransform(d, rows); }

// The camera goes into its slot before the list node is allocated, so that a failing second
// allocation leaves nothing that the reset cannot free.
void createCamera(int slot) {
    auto* cam = new (alloc16(sizeof(Camera), 0)) Camera{};
    initCamera(*cam);
    cameraSlots[slot] = cam;
    cameraList = new (alloc16(sizeof(CameraNode), 0)) CameraNode{slot, cameraList};
}

}  // namespace

void cameraSelect(int slot) {
    if (slot < 0 || slot >= kCameraSlotCount) fatalError(L"CAMERA: slot out of range");
    if (slot != currentCameraIndex) {
        currentCameraIndex = slot;
        currentCamera = cameraSlots[slot];
    }
    if (cameraSlots[slot] == nullptr) {
        createCamera(slot);
        currentCamera = cameraSlots[slot];
    }
}

Camera& selectedCamera() {
    if (currentCamera == nullptr) fatalError(L"CAMERA: no camera selected");
    return *currentCamera;
}

void cameraInit() { initCamera(selectedCamera()); }

void setPosition(double x, double y, double z) { selectedCamera().position = {x, y, z}; }

void setPivot(double x, double y, double z) { storePivot(selectedCamera(), {x, y, z}); }

void setStepCounts(int a, int b, int c) { selectedCamera().stepCounts = {a, b, c}; }

void setStepAngle(double angle) { storeStepAngle(selectedCamera(), angle); }

void setSpinAngle(double angle) {
    Camera& cam = selectedCamera();
    storeSpinAngle(cam, angle);
    buildSpin(cam, cam.spinCounts[0], cam.spinCounts[1], cam.spinCounts[2]);
}

void setSpin(int a, int b, int c) { buildSpin(selectedCamera(), a, b, c); }

void setAxes(double x0, double y0, double z0, double x1, double y1, double z1, double x2, double y2, double z2) {
    storeAxes(selectedCamera(), {x0, y0, z0}, {x1, y1, z1}, {x2, y2, z2});
}

void presetAxes(int kind) {
    Camera& cam = selectedCamera();
    switch (kind) {
        case 0: storeAxes(cam, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}); break;
        case 1: storeAxes(cam, {1, 0, 0}, {0, 0, -1}, {0, 1, 0}); break;
        case 2: storeAxes(cam, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}); break;
        case 3: storeAxes(cam, {0, 0, 1}, {0, 1, 0}, {-1, 0, 0}); break;
        case 4: storeAxes(cam, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}); break;
        case 5: storeAxes(cam, {1, 0, 0}, {0, -1, 0}, {0, 0, -1}); break;
        case 7: randomAxes(cam); break;
        default: break;
    }
}

Vec3 localToParent(const Vec3& p) {
    const Camera& cam = selectedCamera();
    return toFrame(cam, p, cam.axes, cam.position);
}

Vec3 localDirToParent(const Vec3& d) {
    return dirToFrame(d, selectedCamera().axes);
}

Vec3 localToWorld(const Vec3& p) {
    const Camera& cam = selectedCamera();
    return toFrame(cam, p, cam.worldAxes, cam.worldPosition);
}

Vec3 localDirToWorld(const Vec3& d) {
    return dirToFrame(d, selectedCamera().worldAxes);
}

void applyRotations() { rotateCamera(selectedCamera()); }

void resetCameras() {
    for (Camera*& cam : cameraSlots) {
        freeAligned(cam);
        cam = nullptr;
    }
    while (cameraList != nullptr) {
        CameraNode* next = cameraList->next;
        freeAligned(cameraList);
        cameraList = next;
    }
    currentCameraIndex = 1;
    currentCamera = nullptr;
}

}  // namespace lw
