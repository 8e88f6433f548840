// One frame of the screensaver's particle cloud through renderFrame: 8500 textured Normal spots
// on a ball of radius 300 at the scene's projection and fog, and the set-up of the 33 texture
// styles, which decodes every texture once.
#include <benchmark/benchmark.h>

#include "host/headless/headless.h"
#include "host/random.h"
#include "psi/psi.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"
#include "sprites/dispatch.h"
#include "sprites/styles.h"

namespace {

void setUpScene(int width, int height) {
    lw::resetSpriteSetup();
    lw::resetDispatch();
    lw::resetPsiState();
    lw::resetFrameBuffer();
    lw::seedRandomWith(1);
    lw::headless::setScreenSize(width, height);
    lw::setFrameSize(width, height);
    lw::setUpSceneStyles();
    lw::currentSystem->emitExtent = {300.0, 300.0, 300.0};
    lw::emit(8500, lw::textureStyleFirst, lw::textureStyleLast, 0);
}

void renderFrameBench(benchmark::State& state) {
    setUpScene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    lw::renderFrame();  // takes the pending full clear out of the measurement
    for (auto _ : state) {
        lw::renderFrame();
        benchmark::ClobberMemory();
    }
    lw::releaseSpriteTables();
}

void textureStylesBench(benchmark::State& state) {
    setUpScene(320, 240);
    for (auto _ : state) lw::buildTextureStyles();
    lw::releaseSpriteTables();
}

}  // namespace

BENCHMARK(renderFrameBench)->Args({1280, 720})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(textureStylesBench)->Unit(benchmark::kMillisecond);
