// The host's configuration: start values that the host reads and that the program's
// configuration (app/app_config.h) overwrites before a window opens. The frame's size and clear
// colours live with the frame buffer (raster/frame_buffer.h); the process and redraw hooks with
// the worker (host/process.h).
#pragma once

namespace lw {

// The key help that any unrecognised command line shows: eleven lines joined by line feeds.
// Lines 7 to 10 repeat lines 2 and 4 in Russian; line 9 ends in three blanks and line 11 is one
// blank, as the box has always shown them.
inline constexpr const wchar_t* kHelpText =
    L"\n"
    L"Exit - key Esc\n"
    L"\n"
    L"Other controls look at the left-down corner after Run.\n"
    L"\n"
    L"\n"
    L"Выход - клавиша Esc\n"
    L"\n"
    L"Прочие управления смотрите в левом-нижнем углу   \n"
    L"после Запуска.\n"
    L" ";
inline constexpr const wchar_t* kHelpCaption = L"    Lumenwaltz";

// Plain values with constant initialisers, so they hold their start values before any dynamic
// initialiser runs.
struct HostConfig {
    int showCursor = 1;  // 0 hides the cursor for the whole full-mode run
    const wchar_t* windowClassName = L"Tavimer";  // class name and window title, both modes
    const wchar_t* helpText = kHelpText;
    const wchar_t* helpCaption = kHelpCaption;
    // False where another program owns the keys and the mouse (an XScreenSaver hack): the
    // controls the strip names would do nothing there, so it is left out.
    bool userControls = true;
};

extern HostConfig hostConfig;

// The start values, before the program's configuration (app/app_config.h) overwrote them.
void resetHostConfig();

}  // namespace lw
