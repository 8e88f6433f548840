// The functions of host/platform.h for the Linux program: each forwards to the active host.
#include <cstdlib>
#include <type_traits>

#include "host/headless/host.h"
#include "host/linux/host_table.h"

namespace lw::linuxhost {

namespace {
// A constant initialiser: the headless host is active before any dynamic initialiser could call.
const HostTable* active = &headless::headlessHostTable;
}  // namespace

void useHost(const HostTable& table) { active = &table; }

const HostTable& activeHost() { return *active; }

}  // namespace lw::linuxhost

namespace lw::platform {

using linuxhost::active;

#define LW_FORWARD(R, name, params, args) \
    R name params { return active->name args; }
// A host whose endWorker came back would let a fatal error's caller go on.
#define LW_FORWARD_NORETURN(R, name, params, args) \
    R name params {                                \
        active->name args;                         \
        std::abort();                              \
    }
LW_LINUX_PLATFORM_FUNCTIONS(LW_FORWARD, LW_FORWARD_NORETURN)

// A list entry whose type differs from platform.h's declaration would define an overload, and
// the overloaded name fails here.
#define LW_SAME_AS_PLATFORM(R, name, params, args) \
    static_assert(std::is_same_v<decltype(&platform::name), R(*) params>, #name " differs from platform.h");
LW_LINUX_PLATFORM_FUNCTIONS(LW_SAME_AS_PLATFORM, LW_SAME_AS_PLATFORM)

}  // namespace lw::platform
