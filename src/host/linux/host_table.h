// One Linux program, two hosts: the functions of host/platform.h are defined once, here, and
// forward to whichever host is active. The headless host is active from the start, so the tests,
// the benchmarks and the record mode need do nothing; the desktop program selects the SDL host
// before it calls anything else.
#pragma once

#include <cstdint>
#include <span>

#include "host/platform.h"

namespace lw::linuxhost {

// Every function of host/platform.h, in its order. A host fills in all of them.
struct HostTable {
    std::uint32_t* (*createSurface)(int width, int height);
    void (*presentRect)(int x, int y, int w, int h);
    void (*releaseSurface)();

    int (*screenWidth)();
    int (*screenHeight)();
    int (*messageBox)(const wchar_t* text, const wchar_t* caption, unsigned style);
    void (*showCursor)(bool visible);

    bool (*startWorker)(void (*threadMain)());
    void (*requestClose)();
    // Must not return; the switch ends the process should one ever do so.
    void (*endWorker)();
    void (*stopWorker)();

    bool (*setTimer)(int id, unsigned periodMs);
    bool (*killTimer)(int id);

    std::uint32_t (*milliseconds)();
    std::uint32_t (*tickCount)();
    void (*sleepMs)(std::uint32_t ms);

    std::span<const std::uint8_t> (*findResource)(const wchar_t* name, const wchar_t* type);
    bool (*startImageDecoder)();
    void (*stopImageDecoder)();
    bool (*decodeImage)(std::span<const std::uint8_t> bytes, platform::DecodedImage& out);
    void (*releaseDecoded)(platform::DecodedImage& image);
};

// Makes `table` the active host. The caller keeps it alive for the run and switches before the
// worker starts: the switch itself is not guarded against a thread calling through it.
void useHost(const HostTable& table);
const HostTable& activeHost();

}  // namespace lw::linuxhost
