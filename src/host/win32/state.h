// The Win32 host's state, one struct for all its files. The window belongs to the main thread
// and is set up before the worker starts; what both threads touch afterwards is atomic.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/host_state.h"
#include "host/win32/windows_api.h"

namespace lw::win32 {

struct WindowState {
    HINSTANCE instance = nullptr;
    // The program's window; null until it exists. Every message box names it as owner.
    HWND hostWindow = nullptr;
    // Kept from the moment the full-mode window is shown until the message loop ends; the target
    // of every copy to the screen, from the worker and from the paint handler alike.
    HDC windowDC = nullptr;
    // The full-mode window's size: the frame's, or in full screen the whole desktop's.
    SIZE windowSize{0, 0};
    int previewMode = 0;  // 1: painting the still preview into the host's window
    HWND previewParent = nullptr;
    // The parent's client rectangle, then the painted preview area.
    RECT previewRect{};
};

// Where the frame goes in the full-screen window, in window coordinates: as drawn onto the
// primary monitor, stretched onto every other one, and the bars around the stretched copies.
struct MonitorCopies {
    POINT primaryOrigin{0, 0};
    std::vector<RECT> stretchedCopies;
    std::vector<RECT> bars;
};

// The frame: a DIB section selected into a memory device context.
struct Surface {
    // Written by the worker, read by the paint handler on the main thread.
    std::atomic<HDC> memDC{nullptr};
    HBITMAP dibBitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    // Published by the store of memDC: whoever loads memDC as non-null (acquire) sees it.
    SIZE size{0, 0};
};

struct Worker {
    void (*main)() = nullptr;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    std::atomic<bool> stopRequested{false};
};

struct HostState {
    WindowState window;
    MonitorCopies monitors;
    Surface surface;
    Worker worker;
    ULONG_PTR gdiplusToken = 0;
    // Bitmap resources with their file header put back, one per upper-case name for the whole
    // run: the bytes must stay valid as the caller holds them.
    std::map<std::wstring, std::vector<std::uint8_t>> bitmapFiles;
};

inline HostState& state() { return hostState<HostState>(); }
// Puts the start values back; before the window exists.
inline void resetState() { remakeHostState<HostState>(); }

}  // namespace lw::win32
