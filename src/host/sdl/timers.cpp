// User timers: SDL's timer thread turns each tick into an event, and the main thread passes it
// to onTimerTick, as WM_TIMER reaches the window procedure.
#include <map>
#include <mutex>

#include "host/sdl/sdl_host.h"

namespace lw::sdl {

namespace {

std::mutex mutex;
std::map<int, SDL_TimerID> timers;

Uint32 tick(Uint32 interval, void* param) {
    SDL_Event event{};
    event.type = timerEventType;
    event.user.code = static_cast<Sint32>(reinterpret_cast<std::intptr_t>(param));
    SDL_PushEvent(&event);
    return interval;
}

}  // namespace

void removeAllTimers() {
    std::lock_guard lock(mutex);
    for (const auto& [id, timer] : timers) SDL_RemoveTimer(timer);
    timers.clear();
}

namespace host {

// Like SetTimer, a second start of the same id replaces the first.
bool setTimer(int id, unsigned periodMs) {
    std::lock_guard lock(mutex);
    if (auto it = timers.find(id); it != timers.end()) {
        SDL_RemoveTimer(it->second);
        timers.erase(it);
    }
    const SDL_TimerID timer = SDL_AddTimer(periodMs == 0 ? 1 : periodMs, tick, reinterpret_cast<void*>(std::intptr_t{id}));
    if (timer == 0) return false;
    timers[id] = timer;
    return true;
}

bool killTimer(int id) {
    std::lock_guard lock(mutex);
    const auto it = timers.find(id);
    if (it == timers.end()) return false;
    SDL_RemoveTimer(it->second);
    timers.erase(it);
    return true;
}

}  // namespace host

}  // namespace lw::sdl
