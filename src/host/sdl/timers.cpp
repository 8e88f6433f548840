// User timers: SDL's timer thread turns each tick into an event, and the main thread passes it
// to onTimerTick, as WM_TIMER reaches the window procedure.
#include "host/sdl/sdl_host.h"

namespace lw::sdl {

namespace {

Uint32 tick(Uint32 interval, void* param) {
    SDL_Event event{};
    event.type = state().events.timer;
    event.user.code = static_cast<Sint32>(reinterpret_cast<std::intptr_t>(param));
    SDL_PushEvent(&event);
    return interval;
}

}  // namespace

void removeAllTimers() {
    Timers& timers = state().timers;
    std::lock_guard lock(timers.mutex);
    for (const auto& [id, timer] : timers.ids) SDL_RemoveTimer(timer);
    timers.ids.clear();
}

namespace host {

// Like SetTimer, a second start of the same id replaces the first.
bool setTimer(int id, unsigned periodMs) {
    Timers& timers = state().timers;
    std::lock_guard lock(timers.mutex);
    if (auto it = timers.ids.find(id); it != timers.ids.end()) {
        SDL_RemoveTimer(it->second);
        timers.ids.erase(it);
    }
    const SDL_TimerID timer = SDL_AddTimer(periodMs == 0 ? 1 : periodMs, tick, reinterpret_cast<void*>(std::intptr_t{id}));
    if (timer == 0) return false;
    timers.ids[id] = timer;
    return true;
}

bool killTimer(int id) {
    Timers& timers = state().timers;
    std::lock_guard lock(timers.mutex);
    const auto it = timers.ids.find(id);
    if (it == timers.ids.end()) return false;
    SDL_RemoveTimer(it->second);
    timers.ids.erase(it);
    return true;
}

}  // namespace host

}  // namespace lw::sdl
