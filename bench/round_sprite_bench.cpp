// Cost of one ball and one textured disc per size: the ball always in front of what is drawn (the
// whole depth test and write), unclipped and across the view's corner; the textured disc per
// blend family, unclipped.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "host/memory.h"
#include "raster/depth_buffer.h"
#include "raster/frame_buffer.h"
#include "sprites/ball_routines.h"
#include "sprites/dispatch.h"
#include "sprites/sprite_tables.h"
#include "sprites/textured_disc_routines.h"

namespace {

constexpr int kSide = 600;
constexpr int kDepthStep = 2100;      // more than a ball's own depth range: the next one is nearer
constexpr int kRoundsBeforeRefill = 100000;  // keeps the depths well inside the placement's range

struct RoundScene {
    std::vector<std::uint32_t> frame = std::vector<std::uint32_t>(kSide * kSide, 0x00203040);
    std::vector<std::int32_t> depths = std::vector<std::int32_t>(kSide * kSide, lw::depthClearValue);
    std::uint32_t* images[4];
    int round = 0;

    RoundScene() {
        lw::buildSphereTable();
        lw::buildDivisionTable();
        lw::pixels = frame.data();
        lw::depthBuffer = depths.data();
        lw::viewWidth = lw::viewHeight = kSide;
        lw::viewMaxX = lw::viewMaxY = kSide - 1;
        lw::rowTable.resize(kSide);
        for (int y = 0; y < kSide; ++y) lw::rowTable[y] = kSide * (kSide - 1 - y);
        for (auto*& image : images) {
            image = static_cast<std::uint32_t*>(lw::allocAligned(lw::kImageBytes, lw::kImageAlignment, 1));
            for (int i = 0; i < 256 * 256; ++i) image[i] = 0xFF406080u;
        }
    }
    ~RoundScene() {
        for (auto* image : images) lw::freeAligned(image);
        lw::pixels = nullptr;
        lw::depthBuffer = nullptr;
        lw::freeDivisionTable();
        lw::freeSphereTable();
    }
    void place(int x, int y, int radius) {
        if (++round == kRoundsBeforeRefill) {
            round = 0;
            depths.assign(depths.size(), lw::depthClearValue);
        }
        lw::SpriteState& s = lw::spriteState;
        s.size2 = radius + 1;
        s.tinyBall = s.size2 == 2;
        s.centreX = x;
        s.centreY = y;
        s.radius = radius;
        s.depth = -round * kDepthStep;
        s.boxLeft = x - radius;
        s.boxRight = x + radius;
        s.boxTop = y - radius;
        s.boxBottom = y + radius;
        s.divisionRow = lw::divisionTable + radius * lw::kTableSide;
        s.images = {images[0], images[1], images[2], images[3]};
        s.alpha = 200;
        s.depthCue = 230;
        s.tint = 0x00FFE0C0;
    }
};

template <void (*Routine)(), bool Clipped>
void roundBench(benchmark::State& state) {
    RoundScene scene;
    const int radius = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (Clipped) {
            scene.place(-radius / 2, -radius / 2, radius);  // the centre beyond the view's corner
        } else {
            scene.place(kSide / 2, kSide / 2, radius);
        }
        Routine();
        benchmark::ClobberMemory();
    }
    // Pixels of the box inside the view.
    const long side = Clipped ? radius - radius / 2 + 1 : 2 * radius + 1;
    state.SetItemsProcessed(state.iterations() * side * side);
}

void radii(benchmark::internal::Benchmark* bench) { bench->Arg(8)->Arg(40)->Arg(254)->Unit(benchmark::kMicrosecond); }

}  // namespace

BENCHMARK(roundBench<lw::ballUnclipped, false>)->Name("ballUnclipped")->Apply(radii);
BENCHMARK(roundBench<lw::ballClipped, true>)->Name("ballClipped/corner")->Apply(radii);
BENCHMARK(roundBench<lw::texturedNormalUnclipped, false>)->Name("texturedNormalUnclipped")->Apply(radii);
BENCHMARK(roundBench<lw::texturedAddUnclipped, false>)->Name("texturedAddUnclipped")->Apply(radii);
BENCHMARK(roundBench<lw::texturedMultiplyUnclipped, false>)->Name("texturedMultiplyUnclipped")->Apply(radii);
BENCHMARK(roundBench<lw::texturedAddClipped, true>)->Name("texturedAddClipped/corner")->Apply(radii);
