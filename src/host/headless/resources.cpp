#include "host/headless/state.h"
#include "host/linux/embedded_resources.h"
#include "host/linux/image_codec.h"
#include "host/headless/host.h"

namespace lw::headless::host {

using detail::state;

std::span<const std::uint8_t> findResource(const wchar_t* name, const wchar_t* type) {
    if (name == nullptr || type == nullptr) return {};
    {
        auto& host = state();
        std::lock_guard lock(host.mutex);
        const auto key = std::make_pair(headless::detail::upperCase(name), headless::detail::upperCase(type));
        // An override with no bytes hides the embedded resource of that name.
        if (auto it = host.resourceOverrides.find(key); it != host.resourceOverrides.end()) return it->second;
    }
    return linuxhost::findEmbeddedResource(name, type);
}

bool startImageDecoder() {
    auto& host = state();
    std::lock_guard lock(host.mutex);
    if (host.decoderStartFails) return false;
    host.decoderStarts += 1;
    host.decoderRunning = true;
    return true;
}

void stopImageDecoder() {
    auto& host = state();
    std::lock_guard lock(host.mutex);
    host.decoderStops += 1;
    host.decoderRunning = false;
}

bool decodeImage(std::span<const std::uint8_t> bytes, platform::DecodedImage& out) { return linuxhost::decodePicture(bytes, out); }

void releaseDecoded(platform::DecodedImage& image) { linuxhost::releasePicture(image); }

}  // namespace lw::headless::host

namespace lw::headless {

void overrideResource(const std::wstring& name, const std::wstring& type, std::vector<std::uint8_t> bytes) {
    std::lock_guard lock(detail::state().mutex);
    detail::state().resourceOverrides[{detail::upperCase(name), detail::upperCase(type)}] = std::move(bytes);
}

void clearResourceOverrides() {
    std::lock_guard lock(detail::state().mutex);
    detail::state().resourceOverrides.clear();
}

bool imageDecoderRunning() {
    std::lock_guard lock(detail::state().mutex);
    return detail::state().decoderRunning;
}

int imageDecoderStarts() {
    std::lock_guard lock(detail::state().mutex);
    return detail::state().decoderStarts;
}

int imageDecoderStops() {
    std::lock_guard lock(detail::state().mutex);
    return detail::state().decoderStops;
}

void failImageDecoderStart(bool fail) {
    std::lock_guard lock(detail::state().mutex);
    detail::state().decoderStartFails = fail;
}

}  // namespace lw::headless
