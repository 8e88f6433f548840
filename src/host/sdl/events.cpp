// The event handling of both modes, as the window procedure of Windows: in full mode it acts on
// nothing itself; it records input for the worker, passes timer ticks and close requests to
// the portable host, and shows the frames the worker hands over.
#include "host/input.h"
#include "host/key_mapping.h"
#include "host/process.h"
#include "host/sdl/sdl_host.h"

namespace lw::sdl {

namespace {

// The window closes: the worker is stopped if its process still runs, and the loop ends.
bool closeWindow() {
    onCloseRequest();
    beginClosing();
    // Gone from the screen at once, as a destroyed window is; a borrowed window is not ours to hide.
    hideFrameWindows();
    return false;
}

bool previewEvent(const SDL_Event& event) {
    if (event.type == SDL_QUIT) return false;
    if (event.type != SDL_WINDOWEVENT) return true;
    if (event.window.event == SDL_WINDOWEVENT_CLOSE) return false;
    if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        paintPreview();
    }
    return true;
}

// In the coordinates of the desktop that all windows span, as one window over every monitor
// would see it.
void recordMotion(const SDL_MouseMotionEvent& motion) {
    const FrameWindow* shown = frameWindowById(motion.windowID);
    const SDL_Point offset = shown != nullptr ? shown->desktopOffset : SDL_Point{0, 0};
    keymap::recordMotion(motion.x + offset.x, motion.y + offset.y);
}

// A window changed size or was uncovered: its surface is new, or shown again.
void windowChanged(const SDL_WindowEvent& change) {
    if (change.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        if (FrameWindow* shown = frameWindowById(change.windowID)) shown->stale = true;
    }
    repaint();
}

// A hack runs until it is killed: keys never reach its animation, so Esc cannot end it.
void recordInput(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (!state().window.hackMode) {
                keymap::recordKey(event.key.keysym.sym, event.key.keysym.mod, event.type == SDL_KEYDOWN);
            }
            break;
        case SDL_MOUSEMOTION:
            recordMotion(event.motion);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            keymap::recordButton(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_MOUSEWHEEL:
            keymap::recordWheelStep(event.wheel.y, event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED,
                                    SDL_GetMouseState(nullptr, nullptr), SDL_GetModState());
            break;
        default:
            break;
    }
}

bool fullEvent(const SDL_Event& event) {
    const EventTypes& ours = state().events;
    if (event.type == ours.timer) {
        onTimerTick(event.user.code);
    } else if (event.type == ours.present) {
        presentHandedOver();
    } else if (event.type == ours.close) {
        closeWindow();
        state().close.markHandled();
        return false;
    } else if (event.type == SDL_QUIT) {
        return closeWindow();
    } else if (event.type == SDL_WINDOWEVENT) {
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) return closeWindow();
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            windowChanged(event.window);
        }
    } else {
        recordInput(event);
    }
    return true;
}

}  // namespace

bool registerEventTypes() {
    const Uint32 first = SDL_RegisterEvents(3);
    if (first == static_cast<Uint32>(-1)) return false;
    state().events = {first, first + 1, first + 2};
    return true;
}

bool dispatchEvent(const SDL_Event& event) {
    if (state().window.previewMode == 1) return previewEvent(event);
    return fullEvent(event);
}

}  // namespace lw::sdl
