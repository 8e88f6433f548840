// Cost of one spot per blend family and size: a soft round spot (rows stop at the rim) and a
// texture-like square without end markers, drawn unclipped and across the view's corner.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "host/memory.h"
#include "raster/frame_buffer.h"
#include "sprites/dispatch.h"
#include "sprites/spot_routines.h"
#include "sprites/sprite_tables.h"

namespace {

constexpr int kSide = 600;

struct SpotScene {
    std::vector<std::uint32_t> frame = std::vector<std::uint32_t>(kSide * kSide, 0x00203040);
    std::uint32_t* images[4];

    explicit SpotScene(bool round) {
        lw::buildDivisionTable();
        lw::pixels = frame.data();
        lw::viewWidth = lw::viewHeight = kSide;
        lw::viewMaxX = lw::viewMaxY = kSide - 1;
        lw::rowTable.resize(kSide);
        for (int y = 0; y < kSide; ++y) lw::rowTable[y] = kSide * (kSide - 1 - y);
        for (auto*& image : images) {
            image = static_cast<std::uint32_t*>(lw::allocAligned(lw::kImageBytes, lw::kImageAlignment, 1));
            for (int i = 0; i < 256; ++i) {
                for (int j = 0; j < 256; ++j) image[i * 256 + j] = !round || i * i + j * j < 255 * 255 ? 0x00406080u : 0u;
            }
        }
    }
    ~SpotScene() {
        for (auto* image : images) lw::freeAligned(image);
        lw::pixels = nullptr;
        lw::freeDivisionTable();
    }
    void place(int x, int y, int radius) {
        lw::SpriteState& s = lw::spriteState;
        s.centreX = x;
        s.centreY = y;
        s.radius = radius;
        s.boxLeft = x - radius;
        s.boxRight = x + radius;
        s.boxTop = y - radius;
        s.boxBottom = y + radius;
        s.divisionRow = lw::divisionTable + radius * lw::kTableSide;
        s.images = {images[0], images[1], images[2], images[3]};
        s.alpha = 200;
        s.depthCue = 255;
        s.tint = 0xFFFFFF;
        s.styleColour = 0x00FFC080;
    }
};

template <void (*Routine)(), bool Round, bool Clipped>
void spotBench(benchmark::State& state) {
    SpotScene scene(Round);
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
    // Pixels inside the view.
    const long side = Clipped ? radius - radius / 2 + 1 : 2 * radius + 1;
    state.SetItemsProcessed(state.iterations() * side * side);
}

void radii(benchmark::internal::Benchmark* bench) { bench->Arg(8)->Arg(40)->Arg(254)->Unit(benchmark::kMicrosecond); }

}  // namespace

BENCHMARK(spotBench<lw::spotAddUnclipped, true, false>)->Name("spotAddUnclipped/round")->Apply(radii);
BENCHMARK(spotBench<lw::spotAddUnclipped, false, false>)->Name("spotAddUnclipped/square")->Apply(radii);
BENCHMARK(spotBench<lw::spotAddClipped, false, true>)->Name("spotAddClipped/corner")->Apply(radii);
BENCHMARK(spotBench<lw::spotNormalUnclipped, false, false>)->Name("spotNormalUnclipped/square")->Apply(radii);
BENCHMARK(spotBench<lw::spotMultiplyUnclipped, false, false>)->Name("spotMultiplyUnclipped/square")->Apply(radii);
