// How many pixels an output has, from what a display server says of it: its current mode, turned
// as the output is turned; or, where no mode is told, the size in logical units at the output's
// scale (a fractional one in 120ths where there is one). No window system type appears here.
#pragma once

#include <cstdint>

namespace lw {

struct OutputReport {
    int modeWidth = 0;  // 0: no mode told
    int modeHeight = 0;
    bool sideways = false;  // turned by 90 or 270 degrees
    int scale = 1;  // the integer scale
    std::uint32_t scale120 = 0;  // the fractional scale in 120ths; 0: none told
    int logicalWidth = 0;  // 0: not known yet
    int logicalHeight = 0;
};

// False when neither a mode nor a logical size is known.
bool outputPixels(const OutputReport& output, int& width, int& height);

}  // namespace lw
