// The program's resources on Linux: every picture and icon of resources/, compiled into the
// program as byte arrays by the build (cmake/embed_resources.cmake). Shared by the hosts that run
// on Linux.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace lw::linuxhost {

// The name is the file's stem; the type follows its extension: .jpg and .jpeg "BINARYDATA",
// .bmp the bitmap type "#2", .ico "ICON".
struct EmbeddedResource {
    const wchar_t* name;
    const wchar_t* type;
    const std::uint8_t* bytes;
    std::size_t size;
};

// The whole table, as the build made it (empty when resources/ holds no such files).
std::span<const EmbeddedResource> embeddedResources();

// Names and types match regardless of case. Empty when there is no such resource.
std::span<const std::uint8_t> findEmbeddedResource(const wchar_t* name, const wchar_t* type);

}  // namespace lw::linuxhost
