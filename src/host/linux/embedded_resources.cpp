#include "host/linux/embedded_resources.h"

#include <cwctype>

namespace lw::linuxhost {

namespace {
bool sameIgnoringCase(const wchar_t* a, const wchar_t* b) {
    for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
        if (std::towupper(static_cast<wint_t>(*a)) != std::towupper(static_cast<wint_t>(*b))) return false;
    }
    return *a == *b;
}
}  // namespace

std::span<const std::uint8_t> findEmbeddedResource(const wchar_t* name, const wchar_t* type) {
    if (name == nullptr || type == nullptr) return {};
    for (const auto& resource : embeddedResources()) {
        if (sameIgnoringCase(resource.name, name) && sameIgnoringCase(resource.type, type)) {
            return {resource.bytes, resource.size};
        }
    }
    return {};
}

}  // namespace lw::linuxhost
