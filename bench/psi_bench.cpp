// The particle engine's per-frame cost on the screensaver's own system: 8500 particles in a box
// of 300, a ring and two wrapped strides (5 and 350) with the scene's forces, the pull to the
// centre, and camera 1 turning about y.
#include <benchmark/benchmark.h>

#include "host/headless/headless.h"
#include "host/random.h"
#include "psi/psi.h"
#include "view/camera.h"
#include "view/camera_chain.h"

namespace lw {

namespace {

Vec3 pullToCentre() { return currentParticle->position * -1.0; }

void buildSceneSystem() {
    // The headless host with a fixed tick count: the scene seeds from it, so every run
    // measures the same cloud.
    headless::reset();
    headless::setTickCount(20240611);
    seedRandom();
    resetPsiState();
    resetCameras();
    resetCameraChain();
    psiCreate(0);
    currentSystem->emitExtent = Vec3{300.0, 300.0, 300.0};
    emit(8500, 1, 33, 0);
    selectParticle(0);
    currentParticle->timeScale = 2.5e-6;
    currentParticle->damping = 0.35;
    currentParticle->forceScale = 0.5;
    keepMask = 15;
    copyParticleTemplate(0, -1, -1);
    allocLinks(3, 0);
    setLinkRing(0, -2);
    copyLinks(0, 1, -1);
    setLinkStride(5, 0, -2);
    currentLink->paramSet = 1;
    copyLinks(0, 2, -1);
    setLinkStride(350, 0, -2);
    currentLink->paramSet = 2;
    allocParamSets(3);
    selectParamSet(0);
    *currentParamSet = ForceParams{4, 8, 250, 700000, 700000};
    copyParamSets(0, 1, -1);
    *currentParamSet = ForceParams{20, 0, 0, 70000, 70000};
    copyParamSets(0, 2, -1);
    *currentParamSet = ForceParams{300, 0, 0, 210000, 210000};
    currentSystem->externalForce = pullToCentre;
    currentSystem->cameraSlot = 1;

    cameraSelect(1);
    presetAxes(2);
    setPosition(0, 0, 0);
    setPivot(0, 0, 0);
    setStepCounts(0, 0, 0);
    setSpin(0, 1, 0);
    setStepAngle(0.0041887902047863905);
    setSpinAngle(0.0041887902047863905);
}

void BM_psiStepAll(benchmark::State& state) {
    buildSceneSystem();
    for (auto _ : state) {
        psiStepAll();
        benchmark::DoNotOptimize(currentSystem->particles[0].velocity);
    }
    state.SetItemsProcessed(state.iterations() * 8500);
    resetPsiState();
}

void BM_cacheBuild(benchmark::State& state) {
    const int sort = static_cast<int>(state.range(0));
    buildSceneSystem();
    for (int frame = 0; frame < 10; ++frame) psiStepAll();  // the cloud a moment after the start
    for (auto _ : state) {
        updateCameras();  // a turned camera, so every frame sorts a new order
        cacheBuild(sort);
        benchmark::DoNotOptimize(drawOrder[0]);
    }
    state.SetItemsProcessed(state.iterations() * 8500);
    resetPsiState();
}

}  // namespace

BENCHMARK(BM_psiStepAll)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_cacheBuild)->Arg(1)->Arg(0)->ArgName("sort")->Unit(benchmark::kMicrosecond);

}  // namespace lw
