// A sheet of every brush style: a row per sprite kind (point, ball, procedural spot, texture
// spot, textured disc, flat disc, ring) and a column per blend mode, each cell a small cluster
// of overlapping particles at different depths, drawn through the real styles and renderFrame on
// the scene's background. The outer cells reach past the frame's edges, so the clipped routines
// draw too. Combinations the routine table leaves empty stay empty cells.
#pragma once

#include <cstdint>

namespace lw {

constexpr int kGalleryRows = 7;
constexpr int kGalleryColumns = 5;  // blend modes Default, Normal, Add, Subtract, Multiply
constexpr int kGalleryClusterSize = 7;

// True when the routine table has routines for the row's kind in that blend mode.
bool galleryCellDraws(int row, int column);
// Makes a frame of width x height (screen sized on the host), sets up the styles and particles
// and draws the sheet once; the frame stays on the surface and the window.
void drawGallery(int width, int height);
// Frees what drawGallery made.
void releaseGallery();

}  // namespace lw
