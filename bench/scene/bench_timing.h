// Wall-clock timing of the scene benchmarks: medians, since single frames on a shared machine
// are noisy.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace lw::bench {

using Clock = std::chrono::steady_clock;

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace lw::bench
