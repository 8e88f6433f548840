// The pictures of resources/, compiled into the module, and their decoder (stb_image).
#include "host/linux/embedded_resources.h"
#include "host/linux/image_codec.h"
#include "host/platform.h"

namespace lw::platform {

std::span<const std::uint8_t> findResource(const wchar_t* name, const wchar_t* type) {
    return linuxhost::findEmbeddedResource(name, type);
}

// The decoder is compiled in and needs no start.
bool startImageDecoder() { return true; }
void stopImageDecoder() {}

bool decodeImage(std::span<const std::uint8_t> bytes, DecodedImage& out) { return linuxhost::decodePicture(bytes, out); }

void releaseDecoded(DecodedImage& image) { linuxhost::releasePicture(image); }

}  // namespace lw::platform
