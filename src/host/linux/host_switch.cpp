// The functions of host/platform.h for the Linux program: each forwards to the active host.
#include <cstdlib>

#include "host/headless/host.h"
#include "host/linux/host_table.h"

namespace lw::linuxhost {

namespace {
// A constant initialiser: the headless host is active before any dynamic initialiser could call.
const HostTable* active = &headless::headlessHostTable;
}  // namespace

void useHost(const HostTable& table) { active = &table; }

const HostTable& activeHost() { return *active; }

}  // namespace lw::linuxhost

namespace lw::platform {

using linuxhost::active;

std::uint32_t* createSurface(int width, int height) { return active->createSurface(width, height); }
void presentRect(int x, int y, int w, int h) { active->presentRect(x, y, w, h); }
void releaseSurface() { active->releaseSurface(); }

int screenWidth() { return active->screenWidth(); }
int screenHeight() { return active->screenHeight(); }
int messageBox(const wchar_t* text, const wchar_t* caption, unsigned style) {
    return active->messageBox(text, caption, style);
}
void showCursor(bool visible) { active->showCursor(visible); }

bool startWorker(void (*threadMain)()) { return active->startWorker(threadMain); }
void requestClose() { active->requestClose(); }
void endWorker() {
    active->endWorker();
    // A host whose endWorker came back would let a fatal error's caller go on.
    std::abort();
}
void stopWorker() { active->stopWorker(); }

bool setTimer(int id, unsigned periodMs) { return active->setTimer(id, periodMs); }
bool killTimer(int id) { return active->killTimer(id); }

std::uint32_t milliseconds() { return active->milliseconds(); }
std::uint32_t tickCount() { return active->tickCount(); }
void sleepMs(std::uint32_t ms) { active->sleepMs(ms); }

std::span<const std::uint8_t> findResource(const wchar_t* name, const wchar_t* type) {
    return active->findResource(name, type);
}
bool startImageDecoder() { return active->startImageDecoder(); }
void stopImageDecoder() { active->stopImageDecoder(); }
bool decodeImage(std::span<const std::uint8_t> bytes, DecodedImage& out) { return active->decodeImage(bytes, out); }
void releaseDecoded(DecodedImage& image) { active->releaseDecoded(image); }

}  // namespace lw::platform
