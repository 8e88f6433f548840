#include "host/headless/host.h"

namespace lw::headless {

const linuxhost::HostTable headlessHostTable = {
    host::createSurface, host::presentRect,   host::releaseSurface,    host::screenWidth,      host::screenHeight,
    host::messageBox,    host::showCursor,    host::startWorker,       host::requestClose,     host::endWorker,
    host::stopWorker,    host::setTimer,      host::killTimer,         host::milliseconds,     host::tickCount,
    host::sleepMs,       host::findResource,  host::startImageDecoder, host::stopImageDecoder, host::decodeImage,
    host::releaseDecoded,
};

}  // namespace lw::headless
