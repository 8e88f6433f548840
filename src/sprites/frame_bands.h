// The second stage of a frame: the sprite list drawn band by band. The view is cut into
// horizontal bands whose rows stay in the cache; each band clears its rows (and their depth
// cells), draws the records that meet it in list order, cut to its rows, and then the frame's
// screen images. Bands are independent, so the band pool draws them on every core, and the frame
// is the same for any band height and any number of threads.
#pragma once

namespace lw {

// 0 (the start value): the height is chosen from the frame's width; else every band has this
// many rows.
void setBandRows(int rows);
// The rows of a band in a view of the given width.
int bandRowsFor(int viewWidthInPixels);

// Draws the live frame from the sprite list, then the screen images the overlay hook puts on
// it; with the half-size frame, doubles it into the full frame band by band first. Leaves the
// full frame live.
void drawFrameBands();
// The frame's drawing and its present: where the host lets them, the bands copy their own rows to
// the window as they finish, while those rows are in their cache.
void drawAndPresentFrame();

// Frees the band tables (the end of a scene, tests).
void releaseFrameBands();

}  // namespace lw
