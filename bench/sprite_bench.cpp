// Every draw routine of the table on its own, at a small, a middle and the largest radius, drawn
// whole into one band: the inner loops without the frame around them. Uses the tests' fixtures,
// so the sprites measured are the ones the tests check.
#include <benchmark/benchmark.h>

#include "../tests/sprite_fixtures.h"
#include "sprites/circle_masks.h"

namespace {

void drawRoutineBench(benchmark::State& state) {
    static const std::vector<lw::test::RoutineCase> cases = lw::test::routineCases();
    const lw::test::RoutineCase& c = cases[static_cast<std::size_t>(state.range(0))];
    const int radius = static_cast<int>(state.range(1));
    lw::buildDivisionTable();
    lw::buildSphereTable();
    lw::buildCircleMasks();
    lw::test::ImageStyle images(c.kind, 0xFFFFFFFF);
    images.fill([](int, int row, int column) { return row + column < 300 ? 0xFF406080u : 0u; });
    lw::test::Canvas canvas(2 * radius + 1, 2 * radius + 1);
    lw::SpriteRecord s = lw::test::recordOf(c, images, radius, radius, radius);
    s.draw = c.routines.unclipped;
    s.alpha = 200;
    for (auto _ : state) {
        s.draw(s, canvas.whole());
        benchmark::ClobberMemory();
    }
    state.SetLabel(c.name);
    state.SetItemsProcessed(state.iterations() * (2 * radius + 1) * (2 * radius + 1));
    lw::releaseCircleMasks();
    lw::resetSpriteTableState();
}

void routineCases(benchmark::internal::Benchmark* b) {
    const int count = static_cast<int>(lw::test::routineCases().size());
    for (int c = 0; c < count; ++c) {
        for (const int radius : {4, 40, 254}) b->Args({c, radius});
    }
}

}  // namespace

BENCHMARK(drawRoutineBench)->Apply(routineCases);
