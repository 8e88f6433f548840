// Half-resolution drawing: a frame is drawn into a frame of half the width and height and then
// doubled into the full one. A slow machine switches to it for good (the scene sets
// smallFrameWanted); the overlays are drawn after the doubling and so keep full resolution.
#pragma once

#include <cstdint>

namespace lw {

extern int smallFrameWanted;  // set by the scene; nothing here clears it
extern int smallFrameActive;  // the frame being drawn is the half-size one
extern int smallFrameReady;   // the half-size frame and both saved states exist
// The half-size frame: (W / 2) x (H / 2) pixels, at least 1 x 1, rows bottom-up like the surface.
extern std::uint32_t* smallPixels;

// At the start of every frame: switches the live frame values to the half-size frame when it is
// wanted (making it the first time), or back to the full frame when it is not.
void enterSmallFrame();
// After the particles: switches back to the full frame and doubles the half-size frame into it.
// A full frame of odd width or height repeats the last half-size column or row.
void expandSmallFrame();
// Doubles the full frame's rows firstRow..lastRow (screen rows, top down, margins included) from
// the half-size frame, after leaveSmallFrame; rows of different calls may be doubled at once.
void expandSmallFrameRows(int firstRow, int lastRow);
// Puts the full frame's values back, if the half-size frame is the live one.
void leaveSmallFrame();
// Leaves the half-size frame and frees it; smallFrameWanted stays as it is.
void releaseSmallFrame();

void resetSmallFrame();

}  // namespace lw
