// What the Win32 host's files share besides its state. Only the files of this folder include
// <windows.h>.
#pragma once

#include "host/win32/windows_api.h"
#include "host/win32/state.h"

namespace lw::win32 {

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
