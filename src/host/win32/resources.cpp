// Resources of the executable. Bitmap resources are stored without the file header of a .bmp;
// it is put back, so the bytes are a whole picture file as on every other host.
#include <cstring>
#include <cwctype>
#include <string>

#include "host/platform.h"
#include "host/win32/win32_host.h"

namespace lw::win32 {
namespace {

constexpr std::size_t kFileHeaderSize = 14;

bool isBitmapType(const wchar_t* type) {
    std::wstring upper(type);
    for (auto& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return upper == L"#2" || upper == L"BITMAP";
}

std::uint32_t readLittle(const std::uint8_t* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | at[i];
    return value;
}

void writeLittle(std::uint8_t* at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Where the pixel bits start behind the info header, its colour masks and its palette; 0 when
// the header is not one a bitmap resource can have.
std::size_t pixelOffset(std::span<const std::uint8_t> dib) {
    if (dib.size() < 12) return 0;
    const std::uint32_t headerSize = readLittle(dib.data(), 4);
    if (headerSize == 12) {  // BITMAPCOREHEADER: 3-byte palette entries
        const std::uint32_t bits = readLittle(dib.data() + 10, 2);
        return 12 + (bits <= 8 ? (std::size_t{1} << bits) * 3 : 0);
    }
    if (headerSize < 40 || headerSize > dib.size()) return 0;
    const std::uint32_t bits = readLittle(dib.data() + 14, 2);
    const std::uint32_t compression = readLittle(dib.data() + 16, 4);
    const std::uint32_t used = readLittle(dib.data() + 32, 4);
    std::size_t masks = 0;
    if (headerSize == 40 && compression == 3) masks = 12;  // BI_BITFIELDS
    if (headerSize == 40 && compression == 6) masks = 16;  // BI_ALPHABITFIELDS
    const std::size_t colours = used != 0 ? used : (bits <= 8 ? std::size_t{1} << bits : 0);
    return headerSize + masks + colours * 4;
}

std::span<const std::uint8_t> asBitmapFile(const wchar_t* name, std::span<const std::uint8_t> dib) {
    std::wstring key(name);
    for (auto& c : key) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    auto& file = state().bitmapFiles[key];
    if (!file.empty()) return file;
    const std::size_t offset = pixelOffset(dib);
    if (offset == 0 || offset > dib.size()) return dib;  // the decoder refuses it
    file.resize(kFileHeaderSize + dib.size());
    file[0] = 'B';
    file[1] = 'M';
    writeLittle(&file[2], static_cast<std::uint32_t>(file.size()), 4);
    writeLittle(&file[10], static_cast<std::uint32_t>(kFileHeaderSize + offset), 4);
    std::memcpy(&file[kFileHeaderSize], dib.data(), dib.size());
    return file;
}

}  // namespace
}  // namespace lw::win32

namespace lw::platform {

std::span<const std::uint8_t> findResource(const wchar_t* name, const wchar_t* type) {
    if (name == nullptr || type == nullptr) return {};
    const bool bitmap = win32::isBitmapType(type);
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, bitmap ? MAKEINTRESOURCEW(2) : type);
    if (info == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, info);
    const DWORD size = SizeofResource(module, info);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) return {};
    const std::span<const std::uint8_t> raw(static_cast<const std::uint8_t*>(bytes), size);
    return bitmap ? win32::asBitmapFile(name, raw) : raw;
}

}  // namespace lw::platform
