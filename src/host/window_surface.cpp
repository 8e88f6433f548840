// The frame buffer's way to the window: the platform's surface calls, so that the frame itself
// needs nothing of the host but memory and the fatal error.
#include "host/platform.h"
#include "raster/frame_buffer.h"

namespace lw {

const WindowSurface windowSurface{platform::createSurface, platform::releaseSurface, platform::presentRect,
                                  platform::screenWidth, platform::screenHeight, platform::copiesRows,
                                  platform::copyRows, platform::presentCopied,
                                  platform::surfaceInWindow};

}  // namespace lw
