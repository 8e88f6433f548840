#include "host/headless/state.h"
#include "host/platform.h"

namespace lw::platform {

using headless::detail::state;

std::span<const std::uint8_t> findResource(const wchar_t* name, const wchar_t* type) {
    auto& host = state();
    std::lock_guard lock(host.mutex);
    const auto key = std::make_pair(headless::detail::upperCase(name), headless::detail::upperCase(type));
    if (auto it = host.resourceOverrides.find(key); it != host.resourceOverrides.end()) return it->second;
    return {};
}

bool decodeImage(std::span<const std::uint8_t>, ImageFormat, DecodedImage&) { return false; }

void releaseDecoded(DecodedImage& image) { image = {}; }

}  // namespace lw::platform

namespace lw::headless {

void overrideResource(const std::wstring& name, const std::wstring& type, std::vector<std::uint8_t> bytes) {
    std::lock_guard lock(detail::state().mutex);
    detail::state().resourceOverrides[{detail::upperCase(name), detail::upperCase(type)}] = std::move(bytes);
}

void clearResourceOverrides() {
    std::lock_guard lock(detail::state().mutex);
    detail::state().resourceOverrides.clear();
}

}  // namespace lw::headless
