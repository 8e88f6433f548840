// Picture decoding on Linux: JPEG through TurboJPEG, BMP through SDL2's reader, both into 32-bit
// ARGB rows from the top down. Nothing of either library shows outside this folder.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "host/platform.h"

namespace lw::linuxhost {

// No side of a picture may exceed this; it keeps a forged header from asking for gigabytes.
constexpr int kMaxPictureSide = 16384;

// Tells JPEG from BMP by the first bytes. False and an empty image for anything else, and for
// a damaged, truncated or oversized picture; the decoders never read outside bytes.
bool decodePicture(std::span<const std::uint8_t> bytes, platform::DecodedImage& out);
void releasePicture(platform::DecodedImage& image);

// An icon file (.ico): the 32 x 32 image when there is one, else the first. 32-bit images with
// their alpha, 24-bit ones with alpha from the AND mask; PNG and palette images are refused.
bool decodeIcon(std::span<const std::uint8_t> bytes, platform::DecodedImage& out);

bool decodeJpeg(std::span<const std::uint8_t> bytes, platform::DecodedImage& out);
bool decodeBmp(std::span<const std::uint8_t> bytes, platform::DecodedImage& out);

// Encodes width x height ARGB pixels (rows top down) as a JPEG without chroma subsampling; the
// tests and tools make their pictures with it. Empty on failure.
std::vector<std::uint8_t> encodeJpeg(const std::uint32_t* pixels, int width, int height, int quality,
                                     bool progressive);

// Gives out an empty width x height picture to fill; false when the size is not plausible.
bool allocatePicture(platform::DecodedImage& out, int width, int height);

}  // namespace lw::linuxhost
