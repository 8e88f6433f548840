#include "host/clock.h"

#include <algorithm>

#include "host/platform.h"

namespace lw {

std::array<std::int64_t, kClockSlotCount> clockSlots{};
FrameRate frameRate;

std::uint64_t clockReading() { return static_cast<std::uint64_t>(platform::milliseconds()) * 100u; }

void clockMark(int slot) { clockSlots[slot] = static_cast<std::int64_t>(clockReading()); }

void clockElapsed(int slot) {
    const auto now = static_cast<std::int64_t>(clockReading());
    // A clock that did not advance, or wrapped, gives 0 rather than a huge or negative time.
    clockSlots[slot] = clockSlots[slot] < now ? now - clockSlots[slot] : 0;
}

void fpsReset(int count) {
    frameRate = FrameRate{};
    frameRate.fpsCount = std::clamp(count, 1, kFpsRingSize);
}

void frameBegin() { clockMark(0); }

namespace {
void computeAverageFps(FrameRate& r) {
    std::uint32_t sum = 0;
    for (int i = 0; i < r.fpsCount; ++i) sum += static_cast<std::uint32_t>(r.fpsRing[i]);
    // Frames that all took 0 units (a millisecond clock and light work) count as one unit,
    // so the average stays finite: the fastest rate the clock can express.
    if (sum == 0) sum = 1;
    const double perFrame = static_cast<double>(sum) / static_cast<double>(r.fpsCount);
    r.averageFps = static_cast<int>(100000.0 / perFrame);
}
}  // namespace

void frameEnd() {
    clockElapsed(0);
    FrameRate& r = frameRate;
    r.fpsRing[r.fpsPosition] = static_cast<int>(static_cast<std::uint32_t>(clockSlots[0]));
    r.fpsPosition += 1;
    if (r.fpsPosition == r.fpsCount) {
        r.fpsPosition = 0;
        r.fpsRingFull = 1;
        computeAverageFps(r);
    } else if (r.fpsRingFull != 0) {
        computeAverageFps(r);
    }
}

void framePace(int framesPerSecond) {
    const int period = 100000 / framesPerSecond;
    const int rest = period - static_cast<int>(static_cast<std::uint32_t>(clockSlots[0]));
    if (rest > 0) platform::sleepMs(static_cast<std::uint32_t>((rest + 50) / 100));
}

void resetClockState() {
    clockSlots.fill(0);
    fpsReset(10);
}

}  // namespace lw
