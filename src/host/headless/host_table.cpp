#include "host/headless/host.h"

namespace lw::headless {

const linuxhost::HostTable headlessHostTable = LW_HOST_TABLE();

}  // namespace lw::headless
