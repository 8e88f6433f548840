// The depth buffer: one signed value per frame pixel, with the same indexes as pixels, so the
// depth of viewport pixel (x, y) is depthBuffer[rowTable[y] + x]. Smaller is nearer.
#pragma once

#include <cstdint>

#include "raster/draw_target.h"

namespace lw {

// A cell holding this has not been drawn in the current frame. Four equal bytes, so a byte fill
// makes it.
constexpr std::int32_t depthClearValue = 0x1F1F1F1F;

// frameWidth x frameHeight cells; null while no frame buffer exists.
extern std::int32_t* depthBuffer;

// Replaces any earlier buffer with a zeroed one of the live frame size.
void createDepthBuffer();
void releaseDepthBuffer();
// Sets the viewport's cells to depthClearValue. Uses the live sizes, so while the half-size frame
// is drawn only its cells are touched. Does nothing without a buffer.
// Clears the depth cells of the target's rectangle.
void clearDepthRows(const DrawTarget& target);

void resetDepthBuffer();

}  // namespace lw
