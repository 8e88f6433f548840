// Picture decoding with the GDI+ flat API: a JPEG or BMP in memory becomes 32-bit ARGB rows from
// the top down, copied out of GDI+ so the image object lives only during the decode.
#include <algorithm>
#include <cstring>
#include <new>

#include "host/platform.h"
#include "host/win32/win32_host.h"
// After <windows.h>, which they need.
#include <objidl.h>
#include <gdiplus.h>

namespace lw::win32 {
namespace {

namespace gp = Gdiplus::DllExports;

// No side of a picture may exceed this: a forged header must not ask for gigabytes.
constexpr UINT kMaxPictureSide = 16384;

bool looksLikePicture(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return true;  // JPEG
    return bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M';  // BMP: file and info header at least
}

// A stream over a copy of the bytes; GDI+ may read it after the caller's bytes are gone.
IStream* streamOver(std::span<const std::uint8_t> bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (block == nullptr) return nullptr;
    void* target = GlobalLock(block);
    if (target == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK) {
        GlobalFree(block);
        return nullptr;
    }
    return stream;
}

bool copyPixels(Gdiplus::GpBitmap* bitmap, UINT width, UINT height, std::uint32_t* target) {
    Gdiplus::GpRect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (gp::GdipBitmapLockBits(bitmap, &area, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
        return false;
    }
    const bool complete = data.Scan0 != nullptr && data.Width == width && data.Height == height;
    if (complete) {
        const auto* rows = static_cast<const std::uint8_t*>(data.Scan0);
        for (UINT y = 0; y < height; ++y) {
            std::memcpy(target + std::size_t{y} * width, rows + static_cast<std::ptrdiff_t>(y) * data.Stride,
                        std::size_t{width} * 4);
        }
    }
    gp::GdipBitmapUnlockBits(bitmap, &data);
    return complete;
}

bool decodeBitmap(Gdiplus::GpBitmap* bitmap, platform::DecodedImage& out) {
    UINT width = 0;
    UINT height = 0;
    if (gp::GdipGetImageWidth(bitmap, &width) != Gdiplus::Ok || gp::GdipGetImageHeight(bitmap, &height) != Gdiplus::Ok) {
        return false;
    }
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
    auto* pixels = new (std::nothrow) std::uint32_t[std::size_t{width} * height];
    if (pixels == nullptr) return false;
    if (!copyPixels(bitmap, width, height, pixels)) {
        delete[] pixels;
        return false;
    }
    out = {pixels, static_cast<int>(width), static_cast<int>(height), pixels};
    return true;
}

}  // namespace
}  // namespace lw::win32

namespace lw::platform {

bool startImageDecoder() {
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread on
    return Gdiplus::GdiplusStartup(&win32::state().gdiplusToken, &input, nullptr) == Gdiplus::Ok;
}

void stopImageDecoder() {
    ULONG_PTR& token = win32::state().gdiplusToken;
    if (token == 0) return;
    Gdiplus::GdiplusShutdown(token);
    token = 0;
}

bool decodeImage(std::span<const std::uint8_t> bytes, DecodedImage& out) {
    out = {};
    if (!win32::looksLikePicture(bytes) || bytes.size() > 0x7FFFFFFF) return false;
    IStream* stream = win32::streamOver(bytes);
    if (stream == nullptr) return false;
    Gdiplus::GpBitmap* bitmap = nullptr;
    bool decoded = false;
    if (win32::gp::GdipCreateBitmapFromStream(stream, &bitmap) == Gdiplus::Ok && bitmap != nullptr) {
        decoded = win32::decodeBitmap(bitmap, out);
        win32::gp::GdipDisposeImage(bitmap);
    }
    stream->Release();
    if (!decoded) out = {};
    return decoded;
}

void releaseDecoded(DecodedImage& image) {
    delete[] static_cast<std::uint32_t*>(image.hostData);
    image = {};
}

}  // namespace lw::platform
