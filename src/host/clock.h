// The clock in 10-microsecond units, its slots, the frame-rate measurement and the frame pacing.
#pragma once

#include <array>
#include <cstdint>

namespace lw {

constexpr std::uint64_t kClockUnitsPerSecond = 100000;
constexpr int kClockSlotCount = 12;
constexpr int kFpsRingSize = 256;

// A slot holds a start reading after clockMark and an elapsed time after clockElapsed.
// Slot 0 is the frame clock.
extern std::array<std::int64_t, kClockSlotCount> clockSlots;

// The frame-rate measurement: the times of the last fpsCount frames in a ring, and their rate.
struct FrameRate {
    std::array<int, kFpsRingSize> fpsRing{};
    int fpsCount = 10;
    int fpsPosition = 0;
    int fpsRingFull = 0;
    int averageFps = 0;  // the rate the timed work alone would allow; 0 until the ring is full
};
extern FrameRate frameRate;

std::uint64_t clockReading();
void clockMark(int slot);
void clockElapsed(int slot);

void fpsReset(int count);
void frameBegin();
void frameEnd();
// Sleeps out what is left of the frame period, rounded to the nearest millisecond.
void framePace(int framesPerSecond);

void resetClockState();

}  // namespace lw
