#include "host/win32/state.h"

#include <memory>

namespace lw::win32 {

HostState& state() {
    static HostState host;
    return host;
}

// Atomics cannot be assigned: the whole record is made anew.
void resetState() {
    HostState& host = state();
    std::destroy_at(&host);
    std::construct_at(&host);
}

}  // namespace lw::win32
