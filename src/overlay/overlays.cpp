#include "overlay/overlays.h"

#include "host/host_config.h"
#include "host/platform.h"
#include "host/process.h"
#include "overlay/resource_image.h"
#include "raster/frame_buffer.h"

namespace lw {

ScreenImage* logo = nullptr;
ScreenImage* controlsStrip = nullptr;

void installOverlays() {
    resourceType = platform::kBitmapResourceType;
    createScreenImage(logo, L"Lumenwaltz");
    overlayHook = drawOverlays;
    if (hostConfig.userControls) createScreenImage(controlsStrip, L"control_info");
}

void drawOverlays() {
    if (logo != nullptr) {
        placeBottomRight(*logo, 32, 8, AddBlend);
        drawScreenImage(*logo);
    }
    // The strip goes for good with the first tick of timer 0; stopping it again is harmless.
    if (timerFired[0].load(std::memory_order_relaxed) != 0) {
        stopTimer(0);
        return;
    }
    if (controlsStrip != nullptr) {
        placeBottomLeft(*controlsStrip, 24, 8, AddBlend);
        drawScreenImage(*controlsStrip);
    }
}

void removeOverlays() {
    destroyScreenImage(controlsStrip);
    destroyScreenImage(logo);
}

}  // namespace lw
