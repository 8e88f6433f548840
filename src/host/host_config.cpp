#include "host/host_config.h"

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
    installRegisteredHooks();
    appConfigApplied = true;
    return 1;
}

void resetHostConfig() {
    hostConfig = HostConfig{};
    appConfigApplied = false;
}

}  // namespace lw
