// Small pictures from the program's resources put on every frame over the particles, anchored to
// a corner of the viewport.
#pragma once

#include <cstdint>

#include "raster/draw_target.h"

namespace lw {

enum BlendKind : int {
    AlphaBlend = 1,
    AddBlend = 2,
    SubtractBlend = 3,
    BlackPunch = 7,
    WhiteStamp = 8,
};

struct ScreenImage {
    int x = 0;  // leftmost viewport column covered
    int y = 0;  // top viewport row covered
    int width = 0;
    int height = 0;
    int xEnd = -1;
    int yEnd = -1;
    int kind = AlphaBlend;
    std::uint32_t* picture = nullptr;  // width x height, rows top down
};

// Puts a new record into `image` (replacing one that was there) and loads its picture from the
// resource of that name (of the current resourceType). A missing resource is fatal; the record
// is then already held by `image`, so whoever releases it still can.
void createScreenImage(ScreenImage*& image, const wchar_t* resourceName);
// (Re)loads the picture; each channel is scaled by 255/256 and the fourth byte is 0xFF.
bool loadScreenImage(ScreenImage& image, const wchar_t* resourceName);
void placeBottomLeft(ScreenImage& image, int dx, int dy, int kind);
void placeBottomRight(ScreenImage& image, int dx, int dy, int kind);
// Puts the picture on the frame being drawn, as it is placed now: the frame's bands draw it over
// their sprites. Called by the overlay hook, on the worker.
void drawScreenImage(const ScreenImage& image);
// Draws the pictures put on the frame so far, by their kinds, cut to the viewport and to the
// target's rows (view rows).
void drawFrameScreenImages(const DrawTarget& target);
// Forgets the pictures put on the last frame; the next frame starts without any.
void clearFrameScreenImages();
void destroyScreenImage(ScreenImage*& image);

}  // namespace lw
