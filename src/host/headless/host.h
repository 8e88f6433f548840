// The headless host's implementation of host/platform.h, reached through its table; the Linux
// switch (host/linux/host_table.h) makes it the active host from the start.
#pragma once

#include <cstdint>
#include <span>

#include "host/linux/host_table.h"

namespace lw::headless {

extern const linuxhost::HostTable headlessHostTable;

// The same functions as host/platform.h.
namespace host {
LW_DECLARE_HOST_FUNCTIONS()
}  // namespace host

}  // namespace lw::headless
