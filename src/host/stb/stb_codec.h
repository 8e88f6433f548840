// JPEG and BMP decoding with stb_image, into the same 32-bit ARGB rows as the Linux decoders. The
// page decodes with it, and the Linux program when built with -DLW_DECODER=stb (stb_decoders.cpp
// then makes it the decoder of host/linux/image_codec.h).
#pragma once

#include <cstdint>
#include <span>

#include "host/platform.h"

namespace lw::linuxhost::stb {

// Anything else, a picture cut short, and one of more than 16384 pixels a side give false and an
// empty image.
bool decodeJpeg(std::span<const std::uint8_t> bytes, platform::DecodedImage& out);
bool decodeBmp(std::span<const std::uint8_t> bytes, platform::DecodedImage& out);

}  // namespace lw::linuxhost::stb
