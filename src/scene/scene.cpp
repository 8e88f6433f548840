#include "scene/scene.h"

#include "host/clock.h"
#include "host/input.h"
#include "host/process.h"
#include "host/random.h"
#include "overlay/overlays.h"
#include "psi/psi.h"
#include "raster/frame_buffer.h"
#include "raster/small_frame.h"
#include "sprites/dispatch.h"
#include "sprites/styles.h"
#include "view/camera.h"
#include "view/camera_chain.h"

namespace lw {

SceneState scene;

namespace {

constexpr double kTurnPerFrame = 0.0041887902047863905;  // pi / 750: 0.24 degrees a frame
constexpr int kSceneCamera = 1;

void setForceParams(double innerRadius, double outerRadius, double falloffRange, double attraction,
                    double repulsion) {
    *currentParamSet = {innerRadius, outerRadius, falloffRange, attraction, repulsion};
}

void buildParticles(int count, int styleFirst, int styleLast) {
    ParticleSystem& system = requireCurrentSystem();
    system.emitExtent = {300, 300, 300};
    emit(count, styleFirst, styleLast, 0);

    selectParticle(0);
    currentParticle->timeScale = 2.5e-6;
    currentParticle->damping = 0.35;
    currentParticle->forceScale = 0.5;
    keepMask = KeepPosition | KeepVelocity | KeepStyle | KeepColour;
    copyParticleTemplate(0, -1, -1);
}

// A ring of springs over all particles, and two strided sets of links that only repel.
void buildLinks() {
    ParticleSystem& system = requireCurrentSystem();
    allocLinks(3, 0);
    setLinkRing(0, -2);
    copyLinks(0, 1, -1);
    setLinkStride(5, 0, -2);
    system.links[1].paramSet = 1;
    copyLinks(0, 2, -1);
    setLinkStride(350, 0, -2);
    system.links[2].paramSet = 2;

    allocParamSets(3);
    selectParamSet(0);
    setForceParams(4, 8, 250, 700000, 700000);
    copyParamSets(0, 1, -1);
    selectParamSet(1);
    setForceParams(20, 0, 0, 70000, 70000);
    copyParamSets(0, 2, -1);
    selectParamSet(2);
    setForceParams(300, 0, 0, 210000, 210000);

    system.externalForce = centralAttraction;
    scene.attractionStrength = 1.0;
    system.linkPeriod = 0;
    system.cameraSlot = kSceneCamera;
}

}  // namespace

void buildSceneCamera() {
    cameraSelect(kSceneCamera);
    presetAxes(2);
    setPosition(0, 0, 0);
    setPivot(0, 0, 0);
    setStepCounts(0, 0, 0);
    setSpin(0, 1, 0);
    setStepAngle(kTurnPerFrame);
    setSpinAngle(kTurnPerFrame);
}

void buildSceneSystem(int particles, int styleFirst, int styleLast) {
    // The style set-up has made the system already; on its own it is made here.
    if (systemSlots[0] == nullptr) psiCreate(0);
    selectSystemSlot(0);
    buildParticles(particles, styleFirst, styleLast);
    buildLinks();
}

namespace {

bool pressed(int entry) { return peek(inputState.keyDown[entry]) != 0; }
bool released(int entry) { return peek(inputState.keyUp[entry]) != 0; }

void zoomControls() {
    Camera& camera = selectedCamera();
    const int wheel = peek(inputState.wheel);
    if (pressed(keyEntry::Up) || wheel > 0) {
        if (camera.position.z > -kZoomLimit) camera.position.z -= kZoomStep;
    }
    if (pressed(keyEntry::Down) || wheel < 0) {
        if (camera.position.z < kZoomLimit) camera.position.z += kZoomStep;
    }
}

void pauseControls() {
    if (!released(keyEntry::Space) && peek(inputState.anyButtonUp) == 0) return;
    Camera& camera = selectedCamera();
    if (scene.savedSpin != 0) {
        camera.spinCounts[1] = scene.savedSpin;
        scene.savedSpin = 0;
    } else {
        scene.savedSpin = camera.spinCounts[1];
        camera.spinCounts[1] = 0;
    }
}

void steeringControls() {
    if (peek(inputState.mouseMoved) != 0) {
        const int dx = peek(inputState.mouseDX);
        if (dx > 2) {
            setSpin(0, -1, 0);
            scene.savedSpin = 0;
        } else if (dx < -2) {
            setSpin(0, 1, 0);
            scene.savedSpin = 0;
        }
    }
    if (pressed(keyEntry::Left)) {
        setSpin(0, -1, 0);
        scene.savedSpin = 0;
    }
    if (pressed(keyEntry::Right)) {
        setSpin(0, 1, 0);
        scene.savedSpin = 0;
    }
}

}  // namespace

void qualityCheck() {
    if (scene.qualityFrames >= kQualityCheckFrames) return;
    if (frameRate.fpsRingFull != 0 && frameRate.averageFps < kSlowFrameRate) smallFrameWanted = 1;
    scene.qualityFrames += 1;
}

int sceneControls() {
    if (released(keyEntry::Escape)) return 0;
    cameraSelect(kSceneCamera);
    zoomControls();
    pauseControls();
    steeringControls();
    clearInput();
    return 1;
}

Vec3 centralAttraction() {
    const Vec3& p = currentParticle->position;
    return {-p.x * scene.attractionStrength, -p.y * scene.attractionStrength, -p.z * scene.attractionStrength};
}

void setUpSceneStyles() {
    minSpriteSize = 2;
    setProjection(-80, -1);
    setFog(350, -100, 1001);
    initStyles();

    textureSizeScale = 0.033;
    textureKind = 0x30001;
    textureColour = 0xFFFFFFFF;
    buildTextureStyles();
}

void sceneSetUp() {
    seedRandom();
    zoom = 1.0;
    setUpSceneStyles();
    buildSceneSystem(kSceneParticles, textureStyleFirst, textureStyleLast);
    buildSceneCamera();

    fpsReset(10);
    clearInput();
    startTimer(0, 10000);
}

int sceneFrame() {
    frameBegin();
    updateCameras();
    psiStepAll();
    renderFrame();
    frameEnd();
    qualityCheck();
    framePace(30);
    return sceneControls();
}

namespace {
// Each frame is called through a pointer that no compiler can see through, so that none inlines
// it into the loop below. A WebAssembly engine gives a function its optimized code only from its
// next call on (V8 has no on-stack replacement for WebAssembly), and where the worker never
// unwinds (the threaded page, the page under node) this loop is entered once for the whole
// animation: inlined into it, the step of the particles kept its first, unoptimized code for good
// and took a quarter longer under node.
int (*volatile frameCall)() = sceneFrame;
}  // namespace

void sceneRun() {
    sceneSetUp();
    while (frameCall() != 0) {
    }
    releaseSpriteTables();
}

void sceneProcess() {
    installOverlays();
    sceneRun();
    removeOverlays();
}

void resetScene() { scene = SceneState{}; }

}  // namespace lw
