// The boundary between the engine and an operating system. The engine reaches the machine only
// through these functions; each host (headless, sdl, win32) implements all of them in its own
// folder. Nothing here names a window system type, so the engine builds unchanged for every host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace lw::platform {

// --- 1. The frame surface -------------------------------------------------------------------
// W x H 32-bit pixels (0xAARRGGBB), stored bottom-up like a DIB section: the first pixel of the
// array is the left pixel of the bottom row. Returns null when the surface cannot be made.
std::uint32_t* createSurface(int width, int height);
// Copies the rectangle (x, y, w, h) of the surface to the window; x, y count from the top left.
void presentRect(int x, int y, int w, int h);
void releaseSurface();
// A host that answers other than Off lets the threads that draw a frame copy its rows to the
// window band by band, while the rows are still in their cache: the engine calls copyRows from any
// thread, only for rectangles that no other call of the same frame touches, and no other surface
// function while one runs; then presentCopied with the frame's whole rectangle, which shows the
// frame without copying those rows again. A host that answers Off is only ever asked for
// presentRect. With WindowOnly the host reads nothing of this frame but the rows it is given, so
// the engine may draw them elsewhere and leave the surface as it was.
enum class RowCopies { Off, AlongsideSurface, WindowOnly };
RowCopies copiesRows();
// rows: the surface's rows y .. y + h - 1 laid out as the surface lays them out (bottom-up, the
// surface's width apart), so rows[0] is the left pixel of row y + h - 1; (x, w) the columns to copy.
void copyRows(const std::uint32_t* rows, int x, int y, int w, int h);
void presentCopied(int x, int y, int w, int h);
// After copiesRows answered WindowOnly, when one window alone shows the frame and holds all of it:
// where that window keeps the surface's top-left pixel, and its row stride in pixels (rows run
// top-down). The engine may then draw the frame's rows straight into the window and copy nothing.
// Null otherwise.
std::uint32_t* surfaceInWindow(int& stride);

// --- 2. The window and the modes ------------------------------------------------------------
int screenWidth();
int screenHeight();
// A modal message box owned by the host window. Style uses the Win32 MB_* bits.
constexpr unsigned kIconError = 0x10;
int messageBox(const wchar_t* text, const wchar_t* caption, unsigned style);
void showCursor(bool visible);

// --- 3. The worker thread -------------------------------------------------------------------
// Starts the one worker thread running threadMain. False if it could not be started.
bool startWorker(void (*threadMain)());
// Asks the main thread, synchronously, to close the window; returns once it has been handled.
void requestClose();
// Ends the calling worker thread at once, from any depth; never returns.
[[noreturn]] void endWorker();
// Stops the worker from outside (the window was closed while it still ran).
void stopWorker();

// --- 4. Timers ------------------------------------------------------------------------------
// Periodic ticks by id, delivered on the main thread to onTimerTick (host/process.h).
bool setTimer(int id, unsigned periodMs);
bool killTimer(int id);

// --- 5. The clock ---------------------------------------------------------------------------
std::uint32_t milliseconds();  // like timeGetTime: wraps after 49.7 days
std::uint32_t tickCount();     // like GetTickCount: seeds the random generator
void sleepMs(std::uint32_t ms);

// --- 6. Resources ---------------------------------------------------------------------------
// The integer resource type 2 (bitmap), written in the "#number" form that Win32 resource
// lookups accept for integer types. Other types are names, such as "BINARYDATA" or "ICON".
inline constexpr const wchar_t* kBitmapResourceType = L"#2";

// The bytes of the named resource of a type; names and types match regardless of case.
// An empty span when there is none. The bytes belong to the host and stay valid for the run.
std::span<const std::uint8_t> findResource(const wchar_t* name, const wchar_t* type);

// Starts and stops the image decoder; false when it cannot start. The engine counts its users,
// so each start is matched by exactly one stop.
bool startImageDecoder();
void stopImageDecoder();

// A decoded picture: 32-bit ARGB pixels (0xAARRGGBB), rows from the top down without padding,
// alpha 0xFF where the file has none. Owned by the host until releaseDecoded.
struct DecodedImage {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    void* hostData = nullptr;
};
// Recognises a JPEG or a BMP by its content. Anything else, and any damaged, truncated or
// implausibly large picture, gives false and an empty image with nothing to release.
bool decodeImage(std::span<const std::uint8_t> bytes, DecodedImage& out);
// Frees what decodeImage made and empties the image; an empty image is ignored.
void releaseDecoded(DecodedImage& image);

}  // namespace lw::platform
