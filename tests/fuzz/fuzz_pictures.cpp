// Any bytes as a picture resource, read the way the program reads its pictures: as a sprite
// texture through loadTextureImages, or as an overlay through loadScreenImage and drawn on a
// small frame. Every input must end in a picture or in the loader's own fatal message.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../sprite_fixtures.h"
#include "host/headless/headless.h"
#include "host/memory.h"
#include "host/platform.h"
#include "host/process.h"
#include "overlay/resource_image.h"
#include "overlay/screen_image.h"
#include "raster/frame_buffer.h"
#include "sprites/sprite_images.h"

namespace {

constexpr const wchar_t* kName = L"FUZZ_PICTURE";
constexpr std::uint32_t kTextureKinds[] = {0x30001, 0x30002, 0x30004, 0x20004, 0x40001, 0x40004};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_pictures: %s\n", what);
    std::abort();
}

// The one message a fatal end may show, for the loader that ran.
void expectLoaderMessage(bool texture) {
    const auto boxes = lw::headless::messageBoxes();
    if (boxes.size() != 1) fail("a fatal end showed other than one message box");
    const std::wstring& text = boxes.back().text;
    const bool known = texture ? (text == L"PSI: JPG Resource Not Found" || text == L"PSI: JPG Resource Have Wrong Resolution")
                               : text == L"JPG or BMP Resource Not Found";
    if (!known) fail("a fatal end with an unexpected message");
}

// The texture loader hands the decoder back even on its fatal path; the overlay loader only when
// it succeeds (its fatal end leaves the process's end to stop it).
void expectDecoderIdle(bool stopped) {
    if (stopped && (lw::gdiplusUsers != 0 || lw::headless::imageDecoderRunning())) fail("the decoder was left running");
    if (lw::imagePixels != nullptr) fail("a picture was left locked");
}

void loadAsTexture(std::uint32_t kind) {
    lw::test::ImageStyle texture(kind, 0xFF80C0FF);
    try {
        lw::loadTextureImages(texture.style, kName);
    } catch (const lw::headless::WorkerExit&) {
        expectLoaderMessage(true);
    }
    expectDecoderIdle(true);
}

void loadAsOverlay(int anchor) {
    lw::ScreenImage image;
    try {
        if (!lw::loadScreenImage(image, kName)) fail("the overlay loader returned without a picture");
        if (image.width < 1 || image.height < 1 || image.picture == nullptr) fail("an empty overlay");
        if (anchor == 0) {
            lw::placeBottomLeft(image, 3, 2, lw::AddBlend);
        } else {
            lw::placeBottomRight(image, -5, -4, lw::AlphaBlend);
        }
        lw::drawScreenImage(image);
        lw::drawFrameScreenImages(lw::viewTarget());
        expectDecoderIdle(true);
    } catch (const lw::headless::WorkerExit&) {
        expectLoaderMessage(false);
        expectDecoderIdle(false);
    }
    lw::freeAligned(image.picture);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    lw::headless::reset();
    lw::resetProcessState();
    lw::resetResourceImages();
    // Each input is a frame of its own: the pictures an earlier one put on its frame are gone.
    lw::clearFrameScreenImages();
    lw::headless::setScreenSize(64, 48);
    lw::setFrameSize(64, 48);
    lw::createFrameBuffers();

    const std::uint8_t selector = data[0];
    std::vector<std::uint8_t> picture(data + 1, data + size);
    if (selector & 1) {
        lw::headless::overrideResource(kName, lw::kJpegResourceType, std::move(picture));
        loadAsTexture(kTextureKinds[(selector >> 1) % std::size(kTextureKinds)]);
    } else {
        lw::headless::overrideResource(kName, lw::platform::kBitmapResourceType, std::move(picture));
        lw::resourceType = lw::platform::kBitmapResourceType;
        loadAsOverlay((selector >> 1) & 1);
    }
    lw::releaseFrameBuffers();
    return 0;
}
