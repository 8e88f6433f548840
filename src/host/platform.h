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
// The bytes of the named resource of a type; names and types match regardless of case.
// An empty span when there is none.
std::span<const std::uint8_t> findResource(const wchar_t* name, const wchar_t* type);

// A decoded picture: 32-bit ARGB pixels, rows from the top down, alpha 0xFF where the file
// has none. Owned by the host until releaseDecoded.
struct DecodedImage {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    void* hostData = nullptr;
};
enum class ImageFormat { Jpeg, Bmp };
// False (and nothing to release) when the bytes are not a picture of that format.
bool decodeImage(std::span<const std::uint8_t> bytes, ImageFormat format, DecodedImage& out);
void releaseDecoded(DecodedImage& image);

}  // namespace lw::platform
