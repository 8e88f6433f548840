#include "app/app_config.h"

#include "host/host_config.h"
#include "host/process.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"
#include "sprites/styles.h"

namespace lw {

int applyAppConfig() {
    hostConfig.showCursor = 0;
    hostConfig.windowClassName = L"Lumenwaltz";
    setFrameSize(kScreenSize, 1024);  // the screen's size; the 1024 is not used
    borderColour = 0xFF000000;
    backgroundColour = 0xFFA08CF0;
    processHook = sceneProcess;
    redrawHook = renderFrame;
    return 1;
}

}  // namespace lw
