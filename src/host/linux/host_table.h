// One Linux program, two hosts: the functions of host/platform.h are defined once, here, and
// forward to whichever host is active. The headless host is active from the start, so the tests,
// the benchmarks and the record mode need do nothing; the desktop program selects the SDL host
// before it calls anything else.
#pragma once

#include <cstdint>
#include <span>

#include "host/platform.h"

// Every function of host/platform.h, once: result, name, parameters, the arguments that forward
// them. From this one list come the table's members, each host's declarations and its table,
// and the forwarding, so a function cannot be swapped with another of the same type, and one a
// host lacks does not link. X is called for the functions that return, N for the one that must not.
#define LW_LINUX_PLATFORM_FUNCTIONS(X, N)                                                              \
    X(std::uint32_t*, createSurface, (int width, int height), (width, height))                         \
    X(void, presentRect, (int x, int y, int w, int h), (x, y, w, h))                                   \
    X(void, releaseSurface, (), ())                                                                    \
    X(platform::RowCopies, copiesRows, (), ())                                                         \
    X(void, copyRows, (const std::uint32_t* rows, int x, int y, int w, int h), (rows, x, y, w, h))     \
    X(void, presentCopied, (int x, int y, int w, int h), (x, y, w, h))                                 \
    X(std::uint32_t*, surfaceInWindow, (int& stride), (stride))                                        \
    X(int, screenWidth, (), ())                                                                        \
    X(int, screenHeight, (), ())                                                                       \
    X(int, messageBox, (const wchar_t* text, const wchar_t* caption, unsigned style), (text, caption, style)) \
    X(void, showCursor, (bool visible), (visible))                                                     \
    X(bool, startWorker, (void (*threadMain)()), (threadMain))                                         \
    X(void, requestClose, (), ())                                                                      \
    N(void, endWorker, (), ())                                                                         \
    X(void, stopWorker, (), ())                                                                        \
    X(bool, setTimer, (int id, unsigned periodMs), (id, periodMs))                                     \
    X(bool, killTimer, (int id), (id))                                                                 \
    X(std::uint32_t, milliseconds, (), ())                                                             \
    X(std::uint32_t, tickCount, (), ())                                                                \
    X(void, sleepMs, (std::uint32_t ms), (ms))                                                         \
    X(std::span<const std::uint8_t>, findResource, (const wchar_t* name, const wchar_t* type), (name, type)) \
    X(bool, startImageDecoder, (), ())                                                                 \
    X(void, stopImageDecoder, (), ())                                                                  \
    X(bool, decodeImage, (std::span<const std::uint8_t> bytes, platform::DecodedImage& out), (bytes, out)) \
    X(void, releaseDecoded, (platform::DecodedImage& image), (image))

#define LW_HOST_TABLE_MEMBER(R, name, params, args) R(*name) params;
#define LW_HOST_DECLARATION(R, name, params, args) R name params;
#define LW_HOST_NORETURN_DECLARATION(R, name, params, args) [[noreturn]] R name params;
#define LW_HOST_TABLE_ENTRY(R, name, params, args) .name = host::name,

// Declares a host's own functions; inside the namespace `host` of that host.
#define LW_DECLARE_HOST_FUNCTIONS() LW_LINUX_PLATFORM_FUNCTIONS(LW_HOST_DECLARATION, LW_HOST_NORETURN_DECLARATION)
// The table of a host whose functions sit in its namespace `host`, every member named.
#define LW_HOST_TABLE() {LW_LINUX_PLATFORM_FUNCTIONS(LW_HOST_TABLE_ENTRY, LW_HOST_TABLE_ENTRY)}

namespace lw::linuxhost {

struct HostTable {
    // endWorker must not return; the switch ends the process should one ever do so.
    LW_LINUX_PLATFORM_FUNCTIONS(LW_HOST_TABLE_MEMBER, LW_HOST_TABLE_MEMBER)
};

// Makes `table` the active host. The caller keeps it alive for the run and switches before the
// worker starts: the switch itself is not guarded against a thread calling through it.
void useHost(const HostTable& table);
const HostTable& activeHost();

}  // namespace lw::linuxhost
