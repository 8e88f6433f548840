#include "host/host_config.h"

namespace lw {

HostConfig hostConfig;

void resetHostConfig() { hostConfig = HostConfig{}; }

}  // namespace lw
