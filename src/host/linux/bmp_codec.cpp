#include <SDL_error.h>
#include <SDL_pixels.h>
#include <SDL_rwops.h>
#include <SDL_surface.h>
#include <SDL_thread.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "host/linux/image_codec.h"

namespace lw::linuxhost {

namespace {

constexpr std::uint32_t kUncompressed = 0;  // BI_RGB
constexpr std::uint32_t kBitFields = 3;     // BI_BITFIELDS
constexpr std::uint32_t kAlphaBitFields = 6;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // the old OS/2 header
constexpr std::uint32_t kInfoHeaderSize = 40;

struct BmpLayout {
    std::uint32_t dataOffset = 0;
    long long width = 0;
    long long rows = 0;  // the height's magnitude: negative heights store rows top-down
    int bitCount = 0;
    std::uint32_t compression = kUncompressed;
};

std::uint32_t read16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return read16(bytes, at) | read16(bytes, at + 2) << 16;
}

bool readLayout(std::span<const std::uint8_t> bytes, BmpLayout& layout) {
    if (bytes.size() < kFileHeaderSize + kCoreHeaderSize) return false;
    layout.dataOffset = read32(bytes, 10);
    const std::uint32_t headerSize = read32(bytes, 14);
    if (headerSize == kCoreHeaderSize) {
        layout.width = read16(bytes, 18);
        layout.rows = read16(bytes, 20);
        layout.bitCount = static_cast<int>(read16(bytes, 24));
    } else if (headerSize >= kInfoHeaderSize && bytes.size() >= kFileHeaderSize + kInfoHeaderSize) {
        layout.width = static_cast<std::int32_t>(read32(bytes, 18));
        layout.rows = std::llabs(static_cast<std::int32_t>(read32(bytes, 22)));
        layout.bitCount = static_cast<int>(read16(bytes, 28));
        layout.compression = read32(bytes, 30);
    } else {
        return false;
    }
    if (layout.dataOffset < kFileHeaderSize + headerSize || layout.dataOffset > bytes.size()) return false;
    return layout.width >= 1 && layout.rows >= 1 && layout.width <= kMaxPictureSide && layout.rows <= kMaxPictureSide;
}

// Uncompressed rows have a known size, so a file too short for them is refused here; run-length
// coded data is bounded by the reader, which only ever sees the bytes given.
bool pixelDataComplete(const BmpLayout& layout, std::size_t fileSize) {
    const auto c = layout.compression;
    if (c != kUncompressed && c != kBitFields && c != kAlphaBitFields) return true;
    const long long rowBytes = (layout.width * layout.bitCount + 31) / 32 * 4;
    return static_cast<long long>(fileSize - layout.dataOffset) >= rowBytes * layout.rows;
}

// Copies an ARGB8888 surface; a source without alpha gets 0xFF, whatever its padding byte held.
bool copySurface(SDL_Surface* argb, bool sourceHasAlpha, platform::DecodedImage& out) {
    if (!allocatePicture(out, argb->w, argb->h)) return false;
    if (SDL_LockSurface(argb) != 0) {
        releasePicture(out);
        return false;
    }
    const std::uint32_t opaque = sourceHasAlpha ? 0u : 0xFF000000u;
    for (int y = 0; y < argb->h; ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                                                   static_cast<std::size_t>(y) * argb->pitch);
        std::uint32_t* to = out.pixels + static_cast<std::size_t>(y) * out.width;
        for (int x = 0; x < argb->w; ++x) to[x] = from[x] | opaque;
    }
    SDL_UnlockSurface(argb);
    return true;
}

// SDL's reader keeps an error buffer per thread and frees it only when asked. The worker thread
// that decodes the overlays ends long before the process, so it hands that buffer back as it ends
// rather than leaving it unreachable.
void releaseSdlStorageAtThreadExit() {
    struct Release {
        ~Release() { SDL_TLSCleanup(); }
    };
    static thread_local Release release;
    (void)release;
}

}  // namespace

bool decodeBmp(std::span<const std::uint8_t> bytes, platform::DecodedImage& out) {
    out = {};
    BmpLayout layout;
    if (bytes.size() > INT_MAX || !readLayout(bytes, layout) || !pixelDataComplete(layout, bytes.size())) return false;
    releaseSdlStorageAtThreadExit();
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (stream == nullptr) return false;
    SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);  // closes the stream in every case
    if (loaded == nullptr) return false;
    const bool hasAlpha = loaded->format->Amask != 0;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (argb == nullptr) return false;
    const bool sizeAsDeclared = argb->w == layout.width && argb->h == layout.rows;
    const bool copied = sizeAsDeclared && copySurface(argb, hasAlpha, out);
    SDL_FreeSurface(argb);
    return copied;
}

}  // namespace lw::linuxhost
