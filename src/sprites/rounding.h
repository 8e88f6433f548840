// The one conversion from projected doubles to the integers of the rasterizers.
#pragma once

namespace lw {

// Far beyond any frame, yet small enough that a centre plus or minus a radius cannot overflow.
constexpr double kPixelCoordinateLimit = 268435456.0;

// Truncates toward zero. Values beyond the limit are held at it, and a NaN becomes 0, so that a
// particle whose position has run away lands far off the view instead of in undefined behaviour.
inline int truncateHeld(double v) {
    if (!(v == v)) return 0;
    if (v > kPixelCoordinateLimit) return static_cast<int>(kPixelCoordinateLimit);
    if (v < -kPixelCoordinateLimit) return -static_cast<int>(kPixelCoordinateLimit);
    return static_cast<int>(v);
}

// Adds 0.5 and truncates toward zero, negative values included (-0.7 gives 0, -1.7 gives -1).
inline int addHalfTruncate(double v) { return truncateHeld(v + 0.5); }

}  // namespace lw
