// Cameras: transform nodes in numbered slots. Each one is a local frame (axes, position, pivot)
// placed in the frame of its parent camera, plus the turns it makes by itself every frame. All
// single-camera operations act on the selected camera.
#pragma once

#include <array>
#include <cstdint>

#include "view/vec3.h"

namespace lw {

// Three rows: the unit x, y and z axes of a local frame, expressed in its parent frame.
using Orientation = std::array<Vec3, 3>;

inline constexpr Orientation kIdentityAxes{Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}};
inline constexpr double kDefaultCameraAngle = 0.09817477042468103;  // pi / 32

inline Vec3 rowTransform(const Vec3& v, const Orientation& rows) { return rowTransform(v, rows[0], rows[1], rows[2]); }

// The identity test behind `rotated`: only R0.x and R1.y are compared, both exactly with 1.
inline bool looksUnturned(const Orientation& rows) { return rows[0].x == 1.0 && rows[1].y == 1.0; }

// Only -1, 0 and +1 are true turns in the counts: a count multiplies the sine alone.
struct Camera {
    std::int32_t targetCamera = 0;  // 0: aim at targetPoint
    std::int32_t parentCamera = 0;  // 0: the parent frame is the world
    double stepAngle = kDefaultCameraAngle;
    double spinAngle = kDefaultCameraAngle;
    double stepCos = 0.0;  // always written together with stepAngle
    double stepSin = 0.0;
    double spinCos = 0.0;  // always written together with spinAngle
    double spinSin = 0.0;
    std::int32_t lookAtMode = 0;
    std::int32_t rotated = 0;  // 0: the orientation last tested is the identity
    std::int32_t hasPivot = 0;
    Vec3 targetPoint{};
    Vec3 position{};
    Vec3 pivot{};  // added to every local point before it is turned
    Vec3 worldPosition{};
    Orientation axes = kIdentityAxes;
    Orientation spinMatrix = kIdentityAxes;
    Orientation worldAxes = kIdentityAxes;
    std::array<std::int32_t, 3> stepCounts{};
    std::array<std::int32_t, 3> spinCounts{};  // any non-zero count turns axes by spinMatrix each frame
};

inline constexpr int kCameraSlotCount = 1024;

// Every created camera, newest first; the per-frame pass walks it.
struct CameraNode {
    int slot = 0;
    CameraNode* next = nullptr;
};

extern std::array<Camera*, kCameraSlotCount> cameraSlots;
extern int currentCameraIndex;
extern Camera* currentCamera;
extern CameraNode* cameraList;

// Selects the slot, creating its camera on first use. A slot outside 0..1023 is a fatal error.
void cameraSelect(int slot);
// The selected camera; a fatal error when none has been selected yet.
Camera& selectedCamera();

void cameraInit();
void setPosition(double x, double y, double z);
void setPivot(double x, double y, double z);
void setStepCounts(int a, int b, int c);
void setStepAngle(double angle);
void setSpinAngle(double angle);
// Builds spinMatrix from spinAngle turned about x (a), then y (b), then z (c); all zero stops
// the spin and keeps the last matrix.
void setSpin(int a, int b, int c);
// Each row is normalised; `rotated` is left as it is until the next frame pass.
void setAxes(double x0, double y0, double z0, double x1, double y1, double z1, double x2, double y2, double z2);
// 0-5: fixed frames; 7: a random orthonormal frame; anything else leaves the axes alone.
void presetAxes(int kind);

Vec3 localToParent(const Vec3& p);
Vec3 localDirToParent(const Vec3& d);
Vec3 localToWorld(const Vec3& p);
Vec3 localDirToWorld(const Vec3& d);

// The per-frame turn of the selected camera: the spin, then the single-axis steps.
void applyRotations();

// Frees every camera and puts the table back to its start (tests and teardown).
void resetCameras();

}  // namespace lw
