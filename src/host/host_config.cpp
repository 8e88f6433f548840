#include "host/host_config.h"

#include "raster/frame_buffer.h"

namespace lw {

HostConfig hostConfig;

namespace {
// Constant-initialised, so registration works however early the scene's initialiser runs.
Hook registeredProcess = nullptr;
Hook registeredRedraw = nullptr;
bool appConfigApplied = false;

void installRegisteredHooks() {
    if (registeredProcess != nullptr) processHook = registeredProcess;
    if (registeredRedraw != nullptr) redrawHook = registeredRedraw;
}
}  // namespace

void registerAppHooks(Hook process, Hook redraw) {
    registeredProcess = process;
    registeredRedraw = redraw;
    if (appConfigApplied) installRegisteredHooks();
}

Hook registeredProcessHook() { return registeredProcess; }
Hook registeredRedrawHook() { return registeredRedraw; }

int applyAppConfig() {
    hostConfig.showCursor = 0;
    hostConfig.windowClassName = L"Lumenwaltz";
    setFrameSize(kScreenSize, 1024);  // the screen's size; the 1024 is not used
    borderColour = 0xFF000000;
    backgroundColour = 0xFFA08CF0;
    installRegisteredHooks();
    appConfigApplied = true;
    return 1;
}

void resetHostConfig() {
    hostConfig = HostConfig{};
    appConfigApplied = false;
}

}  // namespace lw
