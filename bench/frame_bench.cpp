// The frame's memory floor: one clear and one copy of a whole frame, beside the half-resolution
// doubling and the depth clear, at the three screen sizes the program is measured at.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "host/headless/headless.h"
#include "raster/depth_buffer.h"
#include "raster/frame_buffer.h"
#include "raster/small_frame.h"

namespace {

void makeFrame(const benchmark::State& state) {
    lw::resetSmallFrame();
    lw::resetFrameBuffer();
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    lw::headless::setScreenSize(width, height);
    lw::setFrameSize(width, height);
    lw::createFrameBuffers();
    lw::clearPendingBorder();  // takes the pending full clear out of the measurement
}

void setFrameCounters(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * state.range(0) * state.range(1) * 4);
}

void clearFrameBench(benchmark::State& state) {
    makeFrame(state);
    lw::backgroundColour = 0xFFA08CF0;  // unequal bytes: the 32-bit store loop
    for (auto _ : state) {
        lw::clearTargetRows(lw::viewTarget());
        benchmark::DoNotOptimize(lw::pixels);
        benchmark::ClobberMemory();
    }
    setFrameCounters(state);
}

void copyFrameBench(benchmark::State& state) {
    makeFrame(state);
    std::vector<std::uint32_t> copy(static_cast<std::size_t>(state.range(0) * state.range(1)));
    for (auto _ : state) {
        std::memcpy(copy.data(), lw::pixels, copy.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    setFrameCounters(state);
}

void clearDepthBench(benchmark::State& state) {
    makeFrame(state);
    for (auto _ : state) {
        lw::clearDepthRows(lw::viewTarget());
        benchmark::DoNotOptimize(lw::depthBuffer);
        benchmark::ClobberMemory();
    }
    setFrameCounters(state);
}

void expandSmallFrameBench(benchmark::State& state) {
    makeFrame(state);
    lw::smallFrameWanted = 1;
    for (auto _ : state) {
        lw::enterSmallFrame();
        lw::expandSmallFrame();
        benchmark::DoNotOptimize(lw::pixels);
        benchmark::ClobberMemory();
    }
    setFrameCounters(state);
    lw::resetSmallFrame();
}

void screenSizes(benchmark::internal::Benchmark* bench) {
    bench->Args({1280, 720})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(clearFrameBench)->Apply(screenSizes);
BENCHMARK(copyFrameBench)->Apply(screenSizes);
BENCHMARK(clearDepthBench)->Apply(screenSizes);
BENCHMARK(expandSmallFrameBench)->Apply(screenSizes);
