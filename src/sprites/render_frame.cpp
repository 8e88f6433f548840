// A frame from the particles to the screen: the cache, the placement of its sprites, the bands.
#include "psi/cache.h"
#include "raster/frame_buffer.h"
#include "raster/small_frame.h"
#include "sprites/dispatch.h"
#include "sprites/frame_bands.h"
#include "sprites/sprite_list.h"
#include "sprites/spot_tables.h"
#include "sprites/styles.h"

namespace lw {

void renderFrame() {
    cacheBuild(depthSort);
    enterSmallFrame();
    clearPendingBorder();
    clearSpriteList();
    beginSpotTableFrame();
    deferSpotTableFills();
    placeCache();
    drawAndPresentFrame();
}

}  // namespace lw
