#include "host/output_pixels.h"

#include <algorithm>
#include <cmath>

namespace lw {

bool outputPixels(const OutputReport& output, int& width, int& height) {
    if (output.modeWidth > 0 && output.modeHeight > 0) {
        width = output.sideways ? output.modeHeight : output.modeWidth;
        height = output.sideways ? output.modeWidth : output.modeHeight;
        return true;
    }
    if (output.logicalWidth <= 0 || output.logicalHeight <= 0) return false;
    const double factor = output.scale120 > 0 ? output.scale120 / 120.0 : std::max(output.scale, 1);
    width = static_cast<int>(std::lround(output.logicalWidth * factor));
    height = static_cast<int>(std::lround(output.logicalHeight * factor));
    return width > 0 && height > 0;
}

}  // namespace lw
