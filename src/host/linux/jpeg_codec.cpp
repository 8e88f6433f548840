#include <turbojpeg.h>

#include <bit>
#include <climits>

#include "host/linux/image_codec.h"

namespace lw::linuxhost {

// TurboJPEG's BGRA is byte order; read as little-endian 32-bit words it is 0xAARRGGBB.
static_assert(std::endian::native == std::endian::little, "BGRA bytes are ARGB words only on little-endian machines");

namespace {
// Owns a TurboJPEG handle for the length of one call.
class Handle {
public:
    explicit Handle(tjhandle handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != nullptr) tjDestroy(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    tjhandle get() const { return handle_; }

private:
    tjhandle handle_;
};
}  // namespace

bool decodeJpeg(std::span<const std::uint8_t> bytes, platform::DecodedImage& out) {
    out = {};
    if (bytes.empty() || bytes.size() > ULONG_MAX) return false;
    Handle decoder(tjInitDecompress());
    if (decoder.get() == nullptr) return false;
    const auto size = static_cast<unsigned long>(bytes.size());
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(decoder.get(), bytes.data(), size, &width, &height, &subsampling, &colourspace) != 0) {
        return false;
    }
    if (!allocatePicture(out, width, height)) return false;
    // A warning (a truncated file, damaged data) refuses the picture too: it would show grey.
    // TJPF_BGRA fills the fourth byte with 0xFF, the opaque alpha.
    const int status = tjDecompress2(decoder.get(), bytes.data(), size, reinterpret_cast<unsigned char*>(out.pixels),
                                     width, width * 4, height, TJPF_BGRA, TJFLAG_STOPONWARNING);
    if (status != 0) {
        releasePicture(out);
        return false;
    }
    return true;
}

std::vector<std::uint8_t> encodeJpeg(const std::uint32_t* pixels, int width, int height, int quality,
                                     bool progressive) {
    Handle encoder(tjInitCompress());
    if (encoder.get() == nullptr || pixels == nullptr || width < 1 || height < 1) return {};
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    const int flags = TJFLAG_ACCURATEDCT | (progressive ? TJFLAG_PROGRESSIVE : 0);
    const int status = tjCompress2(encoder.get(), reinterpret_cast<const unsigned char*>(pixels), width, width * 4,
                                   height, TJPF_BGRA, &jpeg, &jpegSize, TJSAMP_444, quality, flags);
    std::vector<std::uint8_t> result;
    if (status == 0) result.assign(jpeg, jpeg + jpegSize);
    tjFree(jpeg);
    return result;
}

}  // namespace lw::linuxhost
