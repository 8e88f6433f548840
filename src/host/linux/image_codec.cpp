#include "host/linux/image_codec.h"

#include <climits>

namespace lw::linuxhost {

bool allocatePicture(platform::DecodedImage& out, int width, int height) {
    out = {};
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
    // The engine publishes the byte size as an int.
    if (static_cast<long long>(width) * height > INT_MAX / 4) return false;
    out.pixels = new std::uint32_t[static_cast<std::size_t>(width) * static_cast<std::size_t>(height)];
    out.width = width;
    out.height = height;
    return true;
}

void releasePicture(platform::DecodedImage& image) {
    delete[] image.pixels;
    image = {};
}

bool decodePicture(std::span<const std::uint8_t> bytes, platform::DecodedImage& out) {
    out = {};
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return decodeJpeg(bytes, out);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return decodeBmp(bytes, out);
    return false;
}

}  // namespace lw::linuxhost
