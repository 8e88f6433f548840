// The particle engine's per-frame cost on the screensaver's own system: 8500 particles in a box
// of 300, a ring and two wrapped strides (5 and 350) with the scene's forces, the pull to the
// centre, and camera 1 turning about y.
#include <benchmark/benchmark.h>

#include "host/headless/headless.h"
#include "host/random.h"
#include "psi/psi.h"
#include "scene/scene.h"
#include "view/camera.h"
#include "view/camera_chain.h"

namespace lw {

namespace {

// The scene's own system and camera, from a fixed seed, so every run measures the same cloud.
void prepareSceneCloud() {
    headless::reset();
    seedRandomWith(20240611);
    resetPsiState();
    resetCameras();
    resetCameraChain();
    buildSceneSystem(8500, 1, 33);
    buildSceneCamera();
}

void BM_psiStepAll(benchmark::State& state) {
    prepareSceneCloud();
    for (auto _ : state) {
        psiStepAll();
        benchmark::DoNotOptimize(currentSystem->particles[0].velocity);
    }
    state.SetItemsProcessed(state.iterations() * 8500);
    resetPsiState();
}

void BM_cacheBuild(benchmark::State& state) {
    const int sort = static_cast<int>(state.range(0));
    prepareSceneCloud();
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
