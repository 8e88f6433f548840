#include "host/sdl/state.h"

#include <memory>

namespace lw::sdl {

HostState& state() {
    static HostState host;
    return host;
}

// Mutexes and atomics cannot be assigned: the whole record is made anew.
void resetState() {
    HostState& host = state();
    std::destroy_at(&host);
    std::construct_at(&host);
}

}  // namespace lw::sdl
