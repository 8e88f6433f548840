// Cost of the circle masks' build (once per scene) and of one flat disc or ring per blend family
// and size, drawn unclipped and across the view's corner.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "raster/frame_buffer.h"
#include "sprites/circle_masks.h"
#include "sprites/disc_routines.h"
#include "sprites/dispatch.h"

namespace {

constexpr int kSide = 600;

void buildMasksBench(benchmark::State& state) {
    for (auto _ : state) {
        lw::releaseCircleMasks();
        lw::buildCircleMasks();
        benchmark::ClobberMemory();
    }
    lw::releaseCircleMasks();
}

struct DiscScene {
    std::vector<std::uint32_t> frame = std::vector<std::uint32_t>(kSide * kSide, 0x00203040);

    DiscScene() {
        lw::buildCircleMasks();
        lw::pixels = frame.data();
        lw::viewWidth = lw::viewHeight = kSide;
        lw::viewMaxX = lw::viewMaxY = kSide - 1;
        lw::rowTable.resize(kSide);
        for (int y = 0; y < kSide; ++y) lw::rowTable[y] = kSide * (kSide - 1 - y);
    }
    ~DiscScene() {
        lw::pixels = nullptr;
        lw::releaseCircleMasks();
    }
    static void place(int x, int y, int radius, bool ring) {
        lw::SpriteState& s = lw::spriteState;
        s.size0 = 4 * radius + 3;
        s.innerSize1 = ring ? 3 * radius : 0;
        s.innerSize2 = ring ? radius : 0;
        s.centreX = x;
        s.centreY = y;
        s.radius = radius;
        s.boxLeft = x - radius;
        s.boxRight = x + radius;
        s.boxTop = y - radius;
        s.boxBottom = y + radius;
        s.alpha = 200;
        s.depthCue = 255;
        s.tint = 0xFFFFFF;
        s.styleColour = 0x00FFC080;
    }
};

template <void (*Routine)(), bool Ring, bool Clipped>
void discBench(benchmark::State& state) {
    DiscScene scene;
    const int radius = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (Clipped) {
            DiscScene::place(-radius / 2, -radius / 2, radius, Ring);  // the centre beyond the view's corner
        } else {
            DiscScene::place(kSide / 2, kSide / 2, radius, Ring);
        }
        Routine();
        benchmark::ClobberMemory();
    }
    // Pixels of the box inside the view (the disc covers about 79 % of them).
    const long side = Clipped ? radius - radius / 2 + 1 : 2 * radius + 1;
    state.SetItemsProcessed(state.iterations() * side * side);
}

void radii(benchmark::internal::Benchmark* bench) { bench->Arg(8)->Arg(40)->Arg(254)->Unit(benchmark::kMicrosecond); }

}  // namespace

BENCHMARK(buildMasksBench)->Name("buildCircleMasks")->Unit(benchmark::kMillisecond);
BENCHMARK(discBench<lw::discAddUnclipped, false, false>)->Name("discAddUnclipped")->Apply(radii);
BENCHMARK(discBench<lw::discAddClipped, false, true>)->Name("discAddClipped/corner")->Apply(radii);
BENCHMARK(discBench<lw::discNormalUnclipped, false, false>)->Name("discNormalUnclipped")->Apply(radii);
BENCHMARK(discBench<lw::discMultiplyUnclipped, false, false>)->Name("discMultiplyUnclipped")->Apply(radii);
BENCHMARK(discBench<lw::discAddUnclipped, true, false>)->Name("discAddUnclipped/ring")->Apply(radii);
BENCHMARK(discBench<lw::discNormalUnclipped, true, false>)->Name("discNormalUnclipped/ring")->Apply(radii);
