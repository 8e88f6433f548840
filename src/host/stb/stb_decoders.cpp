// The picture decoders of a build that decodes as the page does: the page's own, and the Linux
// program built with -DLW_DECODER=stb.
#include "host/linux/image_codec.h"
#include "host/stb/stb_codec.h"

namespace lw::linuxhost {

bool decodeJpeg(std::span<const std::uint8_t> bytes, platform::DecodedImage& out) { return stb::decodeJpeg(bytes, out); }

bool decodeBmp(std::span<const std::uint8_t> bytes, platform::DecodedImage& out) { return stb::decodeBmp(bytes, out); }

}  // namespace lw::linuxhost
