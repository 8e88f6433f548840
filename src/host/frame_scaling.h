// Copies of the frame into a window's own pixels. The frame is stored bottom-up (its first row
// is the bottom one); window pixels run from the top down, rows `stride` pixels apart. Both hold
// 32-bit pixels of the same layout, so a copy moves words and converts nothing.
#pragma once

#include <cstdint>

#include "host/monitor_layout.h"

namespace lw {

struct FramePixels {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

struct WindowPixels {
    std::uint32_t* pixels = nullptr;
    int stride = 0;  // pixels from one row to the next
    int width = 0;
    int height = 0;
};

// Copies part of the frame (top-down coordinates, clipped to the frame) to the same place in the
// target, moved by (originX, originY); what falls outside the target is left out.
void copyFramePart(const FramePixels& frame, const ScreenRect& part, const WindowPixels& target, int originX,
                   int originY);

// Shows the whole frame in destination (clipped to the target), each target pixel taking the
// frame pixel under its centre.
void scaleFrame(const FramePixels& frame, const WindowPixels& target, const ScreenRect& destination);

// Copies everything of from that lies outside kept (clipped to the target) into the same places
// of to: a window buffer that holds an older picture takes the newer one around a part drawn anew.
// Both have the same size.
void copyOutside(const WindowPixels& from, const WindowPixels& to, const ScreenRect& kept);

}  // namespace lw
