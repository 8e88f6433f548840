// The windows that show the frame. In full screen every display gets one, so no monitor keeps
// showing the desktop: the primary display shows the frame as it is drawn, at its own size; the
// others show it scaled to fit (monitor_layout.h).
#include "host/linux/embedded_resources.h"
#include "host/linux/image_codec.h"
#include "host/sdl/sdl_host.h"
#include "raster/frame_buffer.h"

namespace lw::sdl {

std::vector<FrameWindow> frameWindows;

namespace {

void setWindowIcon(SDL_Window* window) {
    platform::DecodedImage icon;
    if (!linuxhost::decodeIcon(linuxhost::findEmbeddedResource(L"ICON_MAIN", L"ICON"), icon)) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon.pixels, icon.width, icon.height, 32,
                                                              icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface != nullptr) {
        SDL_SetWindowIcon(window, surface);
        SDL_FreeSurface(surface);
    }
    linuxhost::releasePicture(icon);
}

bool addWindow(const char* title, const ScreenRect& place, Uint32 flags, SDL_Point desktopOffset) {
    SDL_Window* window = SDL_CreateWindow(title, place.x, place.y, place.width, place.height, SDL_WINDOW_SHOWN | flags);
    if (window == nullptr) return false;
    setWindowIcon(window);
    frameWindows.push_back({window, false, desktopOffset});
    return true;
}

std::vector<ScreenRect> displayBounds() {
    std::vector<ScreenRect> displays;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(i, &bounds) != 0) bounds = {};
        displays.push_back({bounds.x, bounds.y, bounds.w, bounds.h});
    }
    return displays;
}

}  // namespace

bool openFrameWindows(const char* title) {
    const std::vector<ScreenRect> displays = displayBounds();
    if (fullScreen != 1 || displays.size() < 2) {
        // The frame's size, in the middle of the screen (for a full-screen frame: the screen).
        const ScreenRect place{screenSizeWidth / 2 - frameWidth / 2, screenSizeHeight / 2 - frameHeight / 2, frameWidth,
                               frameHeight};
        return addWindow(title, place, fullScreen == 1 ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0, {0, 0});
    }
    // SDL counts the primary display first.
    const MonitorLayout layout = layOutMonitors(displays, 0);
    for (std::size_t i = 0; i < displays.size(); ++i) {
        if (layout.destinations[i].empty()) continue;
        const ScreenRect& display = displays[i];
        const SDL_Point offset{display.x - layout.window.x, display.y - layout.window.y};
        if (!addWindow(title, display, SDL_WINDOW_FULLSCREEN_DESKTOP, offset) && i == 0) return false;
    }
    return true;
}

void showFrameIn(SDL_Window* window) { frameWindows.push_back({window, true}); }

FrameWindow* frameWindowById(Uint32 id) {
    for (FrameWindow& shown : frameWindows) {
        if (SDL_GetWindowID(shown.window) == id) return &shown;
    }
    return nullptr;
}

void hideFrameWindows() {
    for (const FrameWindow& shown : frameWindows) {
        if (!shown.borrowed) SDL_HideWindow(shown.window);
    }
}

void closeFrameWindows() {
    for (FrameWindow& shown : frameWindows) {
        if (shown.staging != nullptr) SDL_FreeSurface(shown.staging);
        // SDL leaves a borrowed window to its owner.
        SDL_DestroyWindow(shown.window);
    }
    frameWindows.clear();
}

}  // namespace lw::sdl
