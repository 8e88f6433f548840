// What the window hosts' state records share: one record for the run, and a reset that makes it
// anew, since mutexes and atomics cannot be assigned.
#pragma once

#include <memory>

namespace lw {

template <typename State>
State& hostState() {
    static State state;
    return state;
}

// Only while no other thread of the host runs.
template <typename State>
void remakeHostState() {
    State& state = hostState<State>();
    std::destroy_at(&state);
    std::construct_at(&state);
}

}  // namespace lw
