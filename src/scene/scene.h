// The screensaver scene: 8500 textured particles on a ring of springs, kept apart by two sets of
// strided repulsive links, pulled to the centre and turned slowly by camera 1.
#pragma once

#include "view/vec3.h"

namespace lw {

// What the scene keeps from frame to frame besides the engine's records.
struct SceneState {
    double attractionStrength = 1.0;  // k of the pull to the centre
    int savedSpin = 0;                // the spin kept while the rotation is paused; 0: not paused
    int qualityFrames = 0;            // frames of the quality check so far (at most 200)
};
extern SceneState scene;

constexpr int kSceneParticles = 8500;
constexpr int kQualityCheckFrames = 200;
constexpr int kSlowFrameRate = 20;
constexpr double kZoomStep = 7.5;
constexpr double kZoomLimit = 350.0;

// The process function the host runs on its worker.
void sceneProcess();
// Set-up, frame loop and teardown.
void sceneRun();
// Everything before the first frame.
void sceneSetUp();
// The scene's particle system in slot 0, its particles' styles repeating styleFirst..styleLast,
// and camera 1 that views it, and its projection, fog and texture styles: the set-up's own steps,
// for the benchmarks and tests as well.
void setUpSceneStyles();
void buildSceneSystem(int particles, int styleFirst, int styleLast);
void buildSceneCamera();
// One frame; 0 ends the loop.
int sceneFrame();
// During the first 200 frames: asks for half resolution for good when the timed work alone
// would not reach 20 frames per second.
void qualityCheck();
// Reads the input of the frame: Esc released ends (0), else zoom, pause and steering act on
// camera 1 and the input is cleared (1).
int sceneControls();
// The scene's external force: a linear pull of the current particle towards the origin.
Vec3 centralAttraction();

void resetScene();

}  // namespace lw
