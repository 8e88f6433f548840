// The headless host's implementation of host/platform.h, reached through its table; the Linux
// switch (host/linux/host_table.h) makes it the active host from the start.
#pragma once

#include <cstdint>
#include <span>

#include "host/linux/host_table.h"

namespace lw::headless {

extern const linuxhost::HostTable headlessHostTable;

// The same functions, in the same order, as host/platform.h.
namespace host {
std::uint32_t* createSurface(int width, int height);
void presentRect(int x, int y, int w, int h);
void releaseSurface();

int screenWidth();
int screenHeight();
int messageBox(const wchar_t* text, const wchar_t* caption, unsigned style);
void showCursor(bool visible);

bool startWorker(void (*threadMain)());
void requestClose();
[[noreturn]] void endWorker();
void stopWorker();

bool setTimer(int id, unsigned periodMs);
bool killTimer(int id);

std::uint32_t milliseconds();
std::uint32_t tickCount();
void sleepMs(std::uint32_t ms);

std::span<const std::uint8_t> findResource(const wchar_t* name, const wchar_t* type);
bool startImageDecoder();
void stopImageDecoder();
bool decodeImage(std::span<const std::uint8_t> bytes, platform::DecodedImage& out);
void releaseDecoded(platform::DecodedImage& image);
}  // namespace host

}  // namespace lw::headless
