// The frame buffer: the one software canvas of the program, its viewport, the row table through
// which every rasterizer addresses pixels, the clears and the copies to the window.
//
// Viewport pixel (x, y), row 0 at the top, is pixels[rowTable[y] + x]. The array itself is stored
// bottom-up like a DIB section; the row table hides that from all drawing code. Everything here
// runs on the worker thread, except presentWhole (the main thread), and clearTargetRows,
// copyRowsToWindow and copyBandToWindow (any band thread, each on its own rows).
#pragma once

#include <cstdint>
#include <vector>

#include "host/platform.h"
#include "host/process.h"
#include "raster/colour.h"
#include "raster/draw_target.h"

namespace lw {

// --- The window's side -------------------------------------------------------------------------
// What the frame needs from the window: its pixel surface, the copy of a rectangle of it to the
// screen, and the screen's size. Filled by the host shell (host/window_surface.cpp).
struct WindowSurface {
    std::uint32_t* (*create)(int width, int height);  // null when none can be made
    void (*release)();
    void (*present)(int x, int y, int width, int height);
    int (*screenWidth)();
    int (*screenHeight)();
    // Whether rows may go to the window from the threads that draw them, those copies, and the
    // present of a frame whose rows they have all copied (host/platform.h says when).
    platform::RowCopies (*copiesRows)();
    void (*copyRows)(const std::uint32_t* rows, int x, int y, int width, int height);
    void (*presentCopied)(int x, int y, int width, int height);
    std::uint32_t* (*surfaceInWindow)(int& stride);
};
extern const WindowSurface windowSurface;

// --- Host configuration that the frame reads ---------------------------------------------------
// The live frame size W x H. While the half-resolution frame is drawn these hold its half size.
extern int frameWidth;   // 240 until setFrameSize
extern int frameHeight;  // 180 until setFrameSize
extern int fullScreen;   // the frame has the screen's size; the window style follows it
extern Colour borderColour;      // the whole frame, on the first clear after setViewport
extern Colour backgroundColour;  // the viewport, on every clear; sprites also fade toward it

// --- The canvas --------------------------------------------------------------------------------
// The array being drawn: the surface's pixels, or the half-size frame while that is active.
// Null when no surface could be made; every clear and copy then does nothing.
extern std::uint32_t* pixels;
extern int marginX;
extern int marginY;
extern int hasMargin;  // marginX | marginY
extern int viewWidth;
extern int viewHeight;
extern int viewMaxX;  // viewWidth - 1: the last column a rasterizer may touch
extern int viewMaxY;  // viewHeight - 1
// One entry per viewport row; sized from the frame, so any screen height fits.
extern std::vector<int> rowTable;
// Sprite sizes are given for a viewport 600 rows high; this scales them to the real one.
extern double viewScale;
extern double zoom;
// Set by every setViewport: the next clear paints the whole frame in borderColour and shows it.
extern int fullClearPending;
// Called once per frame after the particles, at full resolution; does nothing by default.
extern Hook overlayHook;

// Stands for "the screen's size" as setFrameSize's width.
constexpr int kScreenSize = 9999999;

// A width of kScreenSize takes the screen's size (and ignores height). Sizes below 1 x 1, or so
// large that a pixel index no longer fits an int, are fatal. Makes the viewport the whole frame.
// Buffers made earlier keep their size: a caller that changes it calls createFrameBuffers again.
void setFrameSize(int width, int height);
// my = -1 means the same as mx. Margins are kept within 0 and what leaves a viewport of at least
// 16 x 16 pixels (or the whole frame, if that is smaller).
void setViewport(int mx, int my = -1);

// Makes the surface, the depth buffer and the row table for the current size; the surface then
// shows backgroundColour. Any earlier ones are released first.
void createFrameBuffers();
void releaseFrameBuffers();

// After a setViewport: paints the whole frame in borderColour once and shows it.
void clearPendingBorder();
// Paints the target's rectangle in its background colour: each band clears its own rows.
void clearTargetRows(const DrawTarget& target);
// The live view as a target: every view pixel, the depth buffer, backgroundColour.
DrawTarget viewTarget();
// Copies the viewport to the window. Always 1.
int presentFrame();
// Whether the frame's bands may copy their rows to the window themselves, and whether the frame
// must be drawn all the same (Off without a surface).
platform::RowCopies windowRowCopies();
// Copies the viewport's part of the full frame's rows first..last to the window; from the band
// thread that drew them, only while windowRowCopies is not Off.
void copyRowsToWindow(int first, int last);
// The same for view rows first..last drawn elsewhere: band holds them laid out as the frame would
// (bottom-up, frameWidth apart, the view marginX into each row), row last first.
void copyBandToWindow(const Colour* band, int first, int last);
// Where the window keeps the frame's top-left pixel, and its row stride, when the bands may draw
// straight into it (after windowRowCopies answered WindowOnly); null otherwise.
Colour* frameInWindow(int& stride);
// Shows the viewport whose rows the bands have all put in the window. Always 1.
int presentCopiedFrame();
// Copies the whole surface to the window, at its full size even while the half-size frame is
// being drawn (the window's repaint).
void presentWhole();

// Fills count pixels with colour: byte-wise when the three colour bytes are equal (the fourth
// byte then takes the same value), else with the whole 32-bit colour.
void fillPixels(std::uint32_t* target, std::size_t count, Colour colour);

// The surface that createFrameBuffers made, or null; the half-resolution mode doubles into it.
std::uint32_t* surfaceBits();

// Start values, nothing allocated.
void resetFrameBuffer();

}  // namespace lw
