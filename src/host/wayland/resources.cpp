// Resources are the pictures and icons compiled into the program, decoded as the other Linux
// hosts decode them, with nothing to start or stop.
#include "host/linux/embedded_resources.h"
#include "host/linux/image_codec.h"
#include "host/wayland/wayland_host.h"

namespace lw::wayland::host {

std::span<const std::uint8_t> findResource(const wchar_t* name, const wchar_t* type) {
    return linuxhost::findEmbeddedResource(name, type);
}

bool startImageDecoder() { return true; }

void stopImageDecoder() {}

bool decodeImage(std::span<const std::uint8_t> bytes, platform::DecodedImage& out) {
    return linuxhost::decodePicture(bytes, out);
}

void releaseDecoded(platform::DecodedImage& image) { linuxhost::releasePicture(image); }

}  // namespace lw::wayland::host
