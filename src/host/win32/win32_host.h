// What the Win32 host's files share: the window, its device context and the mode. Only the
// files of this folder include <windows.h>.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace lw::win32 {

extern HINSTANCE instance;
// The program's window; null until it exists. Every message box names it as owner.
extern HWND hostWindow;
// Kept from the moment the full-mode window is shown until the message loop ends; the target of
// every copy to the screen, from the worker and from the paint handler alike.
extern HDC windowDC;
// The full-mode window's size: the frame's, or in full screen the whole desktop's.
extern SIZE windowSize;
extern int previewMode;  // 1: painting the still preview into the host's window
extern HWND previewParent;
// The parent's client rectangle, then the painted preview area.
extern RECT previewRect;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The frame surface exists (its memory device context holds the DIB section).
bool surfaceExists();

// --- the monitors under the full-screen window (monitors.cpp) --------------------------------
// Main thread, before the window exists: finds the monitors and returns the window's rectangle
// in desktop coordinates, the whole desktop. With one monitor that is the screen.
RECT layOutFullScreen();
// Sets what the copies to the window need of its device context.
void prepareWindowDC(HDC dc);
// Copies part of the frame (surface coordinates) to the primary monitor's place in the window,
// and the whole frame stretched onto every other monitor.
void showOnMonitors(HDC target, HDC source, SIZE surface, const RECT& part);
// Fills the bars beside the stretched copies with the background colour.
void paintBars(HDC dc);

// Called by the worker where it holds no lock (its sleeps): ends the thread there when the
// window has asked it to stop.
void stopHereIfAsked();

}  // namespace lw::win32
