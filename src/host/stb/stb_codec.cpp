#include "host/stb/stb_codec.h"

#include <climits>

#include "host/linux/image_codec.h"

// The portable code paths only: stb's SSE2 routines exist natively but not in WebAssembly, and
// the two builds must take the same path.
#define STBI_NO_SIMD
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_MAX_DIMENSIONS 16384
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace lw::linuxhost::stb {

static_assert(STBI_MAX_DIMENSIONS == kMaxPictureSide);

namespace {

// stb's RGBA bytes as 0xAARRGGBB words. Pictures without alpha come out opaque.
bool decodeWithStb(std::span<const std::uint8_t> bytes, platform::DecodedImage& out) {
    out = {};
    if (bytes.empty() || bytes.size() > INT_MAX) return false;
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 4);
    if (rgba == nullptr) return false;
    const bool made = allocatePicture(out, width, height);
    if (made) {
        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        for (std::size_t i = 0; i < count; ++i) {
            const stbi_uc* p = rgba + i * 4;
            out.pixels[i] = static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[0]) << 16 |
                            static_cast<std::uint32_t>(p[1]) << 8 | p[2];
        }
    }
    stbi_image_free(rgba);
    return made;
}

}  // namespace

bool decodeJpeg(std::span<const std::uint8_t> bytes, platform::DecodedImage& out) { return decodeWithStb(bytes, out); }

bool decodeBmp(std::span<const std::uint8_t> bytes, platform::DecodedImage& out) { return decodeWithStb(bytes, out); }

}  // namespace lw::linuxhost::stb
