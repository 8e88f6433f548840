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

extern std::array<int, kFpsRingSize> fpsRing;
extern int fpsCount;
extern int fpsPosition;
extern int fpsRingFull;
extern int averageFps;  // the rate the timed work alone would allow; 0 until the ring is full

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
